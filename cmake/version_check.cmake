# Both programs answer --version with their name and the project's version, without a display.
foreach(program QUILLORA PUBLISH)
    execute_process(COMMAND ${${program}} --version OUTPUT_VARIABLE answer RESULT_VARIABLE status)
    get_filename_component(name ${${program}} NAME)
    if(NOT status EQUAL 0 OR NOT answer STREQUAL "${name} ${VERSION}\n")
        message(FATAL_ERROR "${name} --version answered \"${answer}\" (status ${status})")
    endif()
endforeach()
