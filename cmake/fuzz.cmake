# libFuzzer build (clang only): the targets of fuzz/, each a program that runs
# its LLVMFuzzerTestOneInput on generated inputs. Included before the core is
# defined, so that the core too is instrumented for coverage and checked by
# AddressSanitizer and UndefinedBehaviorSanitizer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ZESTAWY_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

# fuzz_history_file reads the history through a scratch file of each process.
foreach(target fuzz_parse fuzz_history fuzz_history_file fuzz_command_frame)
  add_executable(${target} ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE zestawy_flags zestawy_core)
endforeach()
