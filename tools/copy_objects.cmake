# Copies compiled objects "X.cpp.o" to DEST/X.o.
file(MAKE_DIRECTORY ${DEST})
string(REPLACE "|" ";" OBJS "${OBJS}")
foreach(obj ${OBJS})
  get_filename_component(name ${obj} NAME)
  string(REGEX REPLACE "\\.cpp\\.o$" ".o" plain ${name})
  configure_file(${obj} ${DEST}/${plain} COPYONLY)
endforeach()
