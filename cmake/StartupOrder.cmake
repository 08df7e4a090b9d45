# The code that runs at start, laid out side by side in the program's text.
#
# The kernel maps a program's file into memory in blocks around each page
# touched (64 KiB on Linux), so start-up code scattered over the whole text
# makes nearly all of it resident: the main window's start touches about
# 60 KB of 500 KB, in every block. Each function gets a section of its own
# (-ffunction-sections) and the link puts the sections of the functions in
# app/startup_functions.txt first, after the start-up routines the compiler
# marks as such. Where the linker cannot order sections (GNU ld before 2.43
# cannot; gold can, lld can with --symbol-ordering-file and the same list),
# the program is linked as before.
include(CheckLinkerFlag)

set(tolmeri_startup_list ${PROJECT_SOURCE_DIR}/app/startup_functions.txt)
set(TOLMERI_STARTUP_SECTIONS ${CMAKE_BINARY_DIR}/startup_sections.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tolmeri_startup_list})
file(STRINGS ${tolmeri_startup_list} tolmeri_startup_names REGEX "^[^#]")
list(TRANSFORM tolmeri_startup_names PREPEND ".text.")
# gold's order: the compiler's start-up sections, the listed functions, then
# every other function (sections named only ".text" stay in front).
list(PREPEND tolmeri_startup_names ".text.startup" ".text.startup.*")
list(APPEND tolmeri_startup_names ".text.*")
list(JOIN tolmeri_startup_names "\n" tolmeri_startup_text)
file(CONFIGURE OUTPUT ${TOLMERI_STARTUP_SECTIONS} CONTENT "${tolmeri_startup_text}\n" @ONLY)

set(TOLMERI_STARTUP_ORDER OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT TOLMERI_SANITIZE AND NOT TOLMERI_FUZZ)
    check_linker_flag(CXX "-fuse-ld=gold;LINKER:--section-ordering-file=${TOLMERI_STARTUP_SECTIONS}"
                      TOLMERI_LINKER_ORDERS_SECTIONS)
    if(TOLMERI_LINKER_ORDERS_SECTIONS)
        set(TOLMERI_STARTUP_ORDER ON)
        add_compile_options(-ffunction-sections)
    endif()
endif()

# Lays out `target`'s start-up code together (where the linker can).
function(tolmeri_lay_out_startup_code target)
    if(TOLMERI_STARTUP_ORDER)
        target_link_options(${target} PRIVATE -fuse-ld=gold
                            "LINKER:--section-ordering-file=${TOLMERI_STARTUP_SECTIONS}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${TOLMERI_STARTUP_SECTIONS})
    endif()
endfunction()
