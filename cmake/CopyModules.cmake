# Copies the run-time data tree (modules/ without the compiled-in scene) beside the executable.
# A file is copied when it is missing there or when the shipped one is newer, so settings that the program
# changed in a build folder survive a rebuild until the shipped file itself changes.
# Usage: cmake -DSOURCE=<modules> -DDESTINATION=<dir/modules> -P CopyModules.cmake
file(GLOB_RECURSE shipped RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(relative IN LISTS shipped)
    if(relative MATCHES "^qml/" OR relative MATCHES "CMakeLists.txt$")
        continue()
    endif()
    set(from "${SOURCE}/${relative}")
    set(to "${DESTINATION}/${relative}")
    if(NOT EXISTS "${to}" OR "${from}" IS_NEWER_THAN "${to}")
        get_filename_component(folder "${to}" DIRECTORY)
        file(MAKE_DIRECTORY "${folder}")
        file(COPY_FILE "${from}" "${to}")
    endif()
endforeach()
