# Settings shared by both MinGW-w64 toolchains: a self-contained, small executable.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Link-time optimisation across the core and the Win32 layer.
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
# Every function and datum in its own section, so the linker can drop the unused ones.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
# libstdc++ and libgcc linked in (the win32 thread model needs no winpthread),
# unused sections dropped, symbols stripped.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s -flto-partition=one")
