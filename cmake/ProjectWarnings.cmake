# Warning flags for the project's own code. JUCE's headers are included as system headers (see
# JuceLibraries.cmake), so their warnings never drown ours.
add_library(veltrane_warnings INTERFACE)

if(MSVC)
    target_compile_options(veltrane_warnings INTERFACE /W4)
else()
    target_compile_options(veltrane_warnings INTERFACE -Wall -Wextra)
    if(VELTRANE_WARNINGS_AS_ERRORS)
        target_compile_options(veltrane_warnings INTERFACE -Werror)
    endif()
endif()
