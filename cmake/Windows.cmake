# The Windows build's own settings, included by the top-level CMakeLists.txt when cross-building.

# The Qt front-end is the Linux one; Windows gets windows of its own.
set(PADWRIGHT_QT OFF)

# Every program and test runs through Wine, with the prefix of this build folder.
set(PADWRIGHT_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PADWRIGHT_SOURCE_DIR}/scripts/wine-run.sh
    ${PADWRIGHT_WINEPREFIX})

# Windows 10 and later: the programs' manifest makes the ANSI calls speak UTF-8, which older
# systems ignore.
add_compile_definitions(_WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)
enable_language(RC)
set(PADWRIGHT_MANIFEST_RC ${PADWRIGHT_SOURCE_DIR}/data/windows/manifest.rc)

# The Linux kernel's event codes name the objects of the fixture devices the tests read; the
# header is plain constants, so the Windows build takes it from the build machine.
set(PADWRIGHT_LINUX_CODES ${CMAKE_BINARY_DIR}/linux-codes)
file(COPY /usr/include/linux/input-event-codes.h DESTINATION ${PADWRIGHT_LINUX_CODES}/linux)
include_directories(SYSTEM ${PADWRIGHT_LINUX_CODES})

if(PADWRIGHT_TESTS)
    enable_testing()
    # Debian's GoogleTest sources, built with the cross compiler (they name GTest::gtest...).
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(lib gtest gtest_main gmock gmock_main)
        target_compile_options(${lib} PRIVATE -w)
    endforeach()
endif()
