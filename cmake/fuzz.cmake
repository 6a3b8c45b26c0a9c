# libFuzzer build (clang only): the targets of fuzz/, each a program that runs
# its LLVMFuzzerTestOneInput on generated inputs. Included before the core is
# defined, so that the core too is instrumented for coverage and checked by
# AddressSanitizer and UndefinedBehaviorSanitizer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ZESTAWY_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

# Clang has no Windows-1250 execution charset; here the texts stay UTF-8,
# which the fuzzing does not mind.
list(REMOVE_ITEM ZESTAWY_FLAGS -fexec-charset=CP1250)
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

foreach(target fuzz_parse fuzz_history fuzz_command_frame)
  add_executable(${target} ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp)
  target_compile_options(${target} PRIVATE ${ZESTAWY_FLAGS})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE zestawy_core)
endforeach()
