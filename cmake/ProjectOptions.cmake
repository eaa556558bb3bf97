# Flags every target of the project shares, through the `project_options` interface library.
add_library(project_options INTERFACE)

target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic)
if(SONG_WARNINGS_AS_ERRORS)
    target_compile_options(project_options INTERFACE -Werror)
endif()

# The renderer's samples depend on IEEE double arithmetic rounded to nearest at every step.
# 32-bit x86 defaults to the x87 unit, whose 80-bit registers round differently, so insist on SSE2.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("
    #if !defined(__i386__)
    #error not 32-bit x86
    #endif
    int main() { return 0; }" SONG_TARGET_IS_X86_32)
# Never fuse multiplies into adds either: each step must round on its own.
target_compile_options(project_options INTERFACE -ffp-contract=off)
if(SONG_TARGET_IS_X86_32)
    target_compile_options(project_options INTERFACE -msse2 -mfpmath=sse)
endif()
