# cmake -D SESSION=<folder> -D ORCA_LOG=<file> -D SOURCE=<tests/orca> -P session.cmake
# makes the screen reader's session folder anew: a home, the XDG folders (the
# runtime one private, as the programs require), and Orca's and
# speech-dispatcher's settings, Orca's with the log it writes.
file(REMOVE_RECURSE ${SESSION})
file(MAKE_DIRECTORY ${SESSION}/home ${SESSION}/cache ${SESSION}/run)
file(CHMOD ${SESSION}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
configure_file(${SOURCE}/speechd.conf ${SESSION}/config/speech-dispatcher/speechd.conf COPYONLY)
configure_file(${SOURCE}/user-settings.conf ${SESSION}/data/orca/user-settings.conf COPYONLY)
configure_file(${SOURCE}/orca-customizations.py.in ${SESSION}/data/orca/orca-customizations.py @ONLY)
