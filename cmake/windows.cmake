# Windows build (MinGW-w64): the program, its window tests, and a small tool
# that closes the program's window from a script.

add_library(zestawy_app STATIC
  src/app/controls.cpp
  src/app/backtest_chart.cpp
  src/app/backtest_screen.cpp
  src/app/coupon.cpp
  src/app/screen.cpp
  src/app/download.cpp
  src/app/files.cpp
  src/app/found_sets.cpp
  src/app/large_answer.cpp
  src/app/load.cpp
  src/app/panels.cpp
  src/app/ranking_screen.cpp
  src/app/ranking_worker.cpp
  src/app/results_box.cpp
  src/app/search_buttons.cpp
  src/app/texts.cpp
  src/app/ticket_screen.cpp
  src/app/wheel_screen.cpp
  src/app/wheel_work.cpp
  src/app/update_history.cpp
  src/app/wide.cpp
  src/app/window.cpp
)
target_include_directories(zestawy_app PUBLIC src)
target_link_libraries(zestawy_app PRIVATE zestawy_flags)
target_link_libraries(zestawy_app PUBLIC zestawy_core zestawy_net user32 gdi32 comdlg32 comctl32)

add_executable(zestawy WIN32 src/app/main.cpp)
target_link_libraries(zestawy PRIVATE zestawy_flags zestawy_app)

# The version information of both executables, from version.hpp, and the
# program's icon: res/, compiled by windres.
enable_language(RC)
foreach(exe zestawy zestawy-cli)
  target_sources(${exe} PRIVATE res/${exe}.rc)
  target_link_libraries(${exe} PRIVATE zestawy_version)
endforeach()
# The included scripts and headers are found by CMake; the icon and the
# manifest (below) are not.
set_source_files_properties(res/zestawy.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/zestawy.ico)
set_source_files_properties(res/dpi_aware.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/zestawy.manifest)

add_executable(close_window tests/app/close_window.cpp)
target_link_libraries(close_window PRIVATE zestawy_flags user32)

# GoogleTest from the system's sources, built for Windows.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The fetch's tests run here too, through WinINet.
file(GLOB ZESTAWY_APP_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/app/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/net/*.cpp)
add_executable(app_tests ${ZESTAWY_APP_TESTS})
target_include_directories(app_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(app_tests PRIVATE zestawy_flags zestawy_app gtest_main ws2_32)
add_dependencies(app_tests zestawy zestawy-cli)
# The window tests run in-process from a folder of their own, which holds no
# history: a history missing from a test's working folder is missing
# everywhere. They run with the build folder as their working folder.
set_target_properties(app_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/app_tests)
target_compile_definitions(app_tests PRIVATE
  ZESTAWY_EXE="$<TARGET_FILE_NAME:zestawy>"
  ZESTAWY_CLI="Z:$<TARGET_FILE:zestawy-cli>"
  ZESTAWY_DATA_DIR="Z:${CMAKE_SOURCE_DIR}/tests/data")
# The program and its window tests declare themselves DPI-aware alike, so
# that both open the window at the same scale.
foreach(exe zestawy app_tests)
  target_sources(${exe} PRIVATE res/dpi_aware.rc)
endforeach()
# The start-up state is checked in a process of its own, before any command
# has touched the window; the command tests run in a second process.
add_test(NAME app_startup COMMAND app_tests --gtest_filter=MainWindow.*:Program.*
  WORKING_DIRECTORY $<TARGET_FILE_DIR:zestawy>)
add_test(NAME app_commands
  COMMAND app_tests --gtest_filter=-MainWindow.*:Program.*:WindowModel.*:Fit.*:ToolConsole.*:CodePage.*
  WORKING_DIRECTORY $<TARGET_FILE_DIR:zestawy>)
# The window on a Polish Windows (pl_PL.UTF-8: Wine's ANSI code page 1250)
# and on an English one (C.UTF-8, which every system has: code page 1252).
foreach(locale_page pl_PL.UTF-8:1250 C.UTF-8:1252)
  string(REPLACE ":" ";" locale_page ${locale_page})
  list(GET locale_page 0 locale)
  list(GET locale_page 1 page)
  add_test(NAME app_code_page_${page} COMMAND app_tests --gtest_filter=CodePage.*
    WORKING_DIRECTORY $<TARGET_FILE_DIR:zestawy>)
  set_tests_properties(app_code_page_${page} PROPERTIES ENVIRONMENT LC_ALL=${locale})
endforeach()
# The tool on a console of its own, which this process takes.
add_test(NAME tool_console COMMAND app_tests --gtest_filter=ToolConsole.*
  WORKING_DIRECTORY $<TARGET_FILE_DIR:zestawy>)
# The random walks fill each game's history cache from the real files, so they
# run in a process of their own too.
add_test(NAME app_model COMMAND app_tests --gtest_filter=WindowModel.*
  WORKING_DIRECTORY $<TARGET_FILE_DIR:zestawy>)
# The window on screens of other sizes and DPIs, each in a process of its own
# on a virtual display of its own; the DPI is the Wine prefix's setting, so
# these run one at a time.
foreach(screen 1024x700:96 1280x680:96 1366x768:96 1920x1080:144 1600x1000:96)
  string(REPLACE ":" ";" size_dpi ${screen})
  list(GET size_dpi 0 size)
  list(GET size_dpi 1 dpi)
  add_test(NAME app_fit_${size}_${dpi}dpi
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/app/fit_screen.sh ${size} ${dpi}
      ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:app_tests>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:zestawy>)
  set_tests_properties(app_fit_${size}_${dpi}dpi PROPERTIES RUN_SERIAL TRUE)
endforeach()

# Timings of answers in the real window (bench/window.sh); not a test.
add_executable(window_answers_bench EXCLUDE_FROM_ALL bench/window/answers_bench.cpp)
target_include_directories(window_answers_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(window_answers_bench PRIVATE zestawy_flags zestawy_app gtest)
target_compile_definitions(window_answers_bench PRIVATE
  ZESTAWY_DATA_DIR="Z:${CMAKE_SOURCE_DIR}/data")

# Drives the unpacked download from outside (tests/package/zip_test.sh).
add_executable(drive_window tests/package/drive_window.cpp)
target_include_directories(drive_window PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(drive_window PRIVATE zestawy_flags user32 version)
