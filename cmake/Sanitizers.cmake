# Sanitizer builds apply to every target, JUCE included, so that instrumented and uninstrumented
# code never mix inside one binary.
if(VELTRANE_SANITIZER STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(VELTRANE_SANITIZER STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT VELTRANE_SANITIZER STREQUAL "")
    message(FATAL_ERROR "Unknown VELTRANE_SANITIZER '${VELTRANE_SANITIZER}'")
endif()
