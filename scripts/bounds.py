#!/usr/bin/env python3
"""Lists the files of src/ over 400 lines and the functions over 80 lines.

A function is found by its body: a brace opened outside any function whose
text since the previous ';', '{' or '}' has parentheses and is not a class,
a namespace, an initializer or a control statement. Its length runs from the
first line of that text to the line of the closing brace. Strings, character
literals and comments are skipped. A heuristic, good enough for this tree's
style; exits 1 when anything is over its bound.

    scripts/bounds.py [--lines N] [--function-lines N] [DIR...]   (default: src)
"""
import argparse
import pathlib
import re
import sys

CONTROL = re.compile(r"^(if|for|while|switch|catch|do|else|try)\b")
NOT_A_FUNCTION = re.compile(r"\b(namespace|class|struct|union|enum)\b|=\s*$|^extern\b")


def blank_out(text):
    """The text with comments, strings and character literals blanked,
    newlines kept, so that braces and lines can be counted."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + c if j - i >= 2 else c)
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def functions(path):
    """(name, first line, length) of each function body in the file."""
    text = blank_out(path.read_text(encoding="utf-8", errors="replace"))
    found = []
    stack = []  # for each open brace: True where it opened a function's body
    header_start = 0  # where the text before the next brace begins
    line_of = [0] * (len(text) + 1)
    line = 1
    for i, c in enumerate(text):
        line_of[i] = line
        if c == "\n":
            line += 1
    starts = []
    for i, c in enumerate(text):
        if c == "{":
            header = text[header_start:i].strip()
            # Preprocessor lines are not part of a header.
            header = "\n".join(
                l for l in header.split("\n") if not l.strip().startswith("#")
            ).strip()
            before = header.split("(")[0]
            is_function = (
                not any(stack)
                and "(" in header
                and re.search(r"\)[\s\w&:<>,*\->]*$", header) is not None
                and not CONTROL.match(header)
                and not NOT_A_FUNCTION.search(before)
                and "=" not in before
            )
            stack.append(is_function)
            if is_function:
                # The header's first line that is not blank or a preprocessor line.
                first = header_start
                for raw in text[header_start:i].split("\n"):
                    if raw.strip() and not raw.strip().startswith("#"):
                        first += len(raw) - len(raw.lstrip())
                        break
                    first += len(raw) + 1
                name = re.findall(r"([~\w:]+)\s*\(", header)
                starts.append((name[0] if name else "?", line_of[first], len(stack)))
            header_start = i + 1
        elif c == "}":
            if stack:
                if stack[-1] and starts and starts[-1][2] == len(stack):
                    name, first, _ = starts.pop()
                    found.append((name, first, line_of[i] - first + 1))
                stack.pop()
            header_start = i + 1
        elif c == ";":
            header_start = i + 1
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--lines", type=int, default=400)
    parser.add_argument("--function-lines", type=int, default=80)
    parser.add_argument("dirs", nargs="*", default=["src"])
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    over = 0
    for d in args.dirs:
        base = pathlib.Path(d) if pathlib.Path(d).is_absolute() else root / d
        for path in sorted(base.rglob("*")):
            if path.suffix not in (".cpp", ".hpp", ".h", ".in") or not path.is_file():
                continue
            shown = path.relative_to(root) if path.is_relative_to(root) else path
            lines = path.read_text(encoding="utf-8", errors="replace").count("\n")
            if lines > args.lines:
                print(f"{shown}: {lines} lines")
                over += 1
            for name, first, length in functions(path):
                if length > args.function_lines:
                    print(f"{shown}:{first}: {name}: {length} lines")
                    over += 1
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main())
