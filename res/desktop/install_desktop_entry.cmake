# Installs the desktop entry with Exec naming the installed program by its
# full path, so the menu finds it even where PREFIX/bin is not on the PATH
# of the desktop session. Runs at install time; TOLMERI_DESKTOP_SOURCE is set
# by the install rule before it.
set(program "${CMAKE_INSTALL_PREFIX}/bin/tolmeri")
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
set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/tolmeri.desktop")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
