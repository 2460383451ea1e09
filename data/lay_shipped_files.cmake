# Copies each shipped file into the program folder unless a file of that name is there.
# Each goes in under a neighbouring name first and is then renamed, so a build cut short
# never leaves a half-written file that later builds would take for the learner's own.
file(MAKE_DIRECTORY ${TO})
foreach(path IN LISTS FILES SCRIPT)
    if(IS_ABSOLUTE ${path})
        set(from ${path})
    else()
        set(from ${FROM}/${path})
    endif()
    get_filename_component(name ${from} NAME)
    if(NOT EXISTS ${TO}/${name})
        file(COPY_FILE ${from} ${TO}/${name}.part)
        file(RENAME ${TO}/${name}.part ${TO}/${name})
    endif()
endforeach()
