# Installs the desktop entry with Exec naming the installed program by its
# full path, so the menu finds it even where the prefix's bin is not on the
# PATH of the desktop session. Runs at install time; TOLMERI_DESKTOP_SOURCE,
# TOLMERI_DESKTOP_DIR and TOLMERI_BINDIR are set by the install rule before it.
cmake_path(ABSOLUTE_PATH TOLMERI_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           OUTPUT_VARIABLE bindir)
set(program "${bindir}/tolmeri")
# The desktop entry's quoting of an argument: reserved characters need
# double quotes, inside which ", `, $ and \ take a backslash; % is doubled;
# and the string value itself doubles every backslash.
string(REPLACE "%" "%%" exec "${program}")
if(exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")

file(READ "${TOLMERI_DESKTOP_SOURCE}" entry)
string(REGEX REPLACE "\nExec=tolmeri\n" "\nExec=${exec}\n" entry "${entry}")
cmake_path(GET TOLMERI_DESKTOP_SOURCE FILENAME name)
cmake_path(ABSOLUTE_PATH TOLMERI_DESKTOP_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           OUTPUT_VARIABLE dir)
set(target "$ENV{DESTDIR}${dir}/${name}")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
