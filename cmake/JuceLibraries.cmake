# JUCE, compiled once into static libraries that the plug-in, the tools and the tests share.
#
# JUCE modules are CMake interface libraries whose sources compile into whichever target links
# them. Linking them into several executables would compile them again for each, so they are
# compiled once into `veltrane_juce`, and consumers receive only the modules' usage requirements
# (include folders and definitions) through it. The definitions must match exactly between the
# library and its consumers: JUCE's class layouts depend on them (leak detectors in debug builds).

find_package(JUCE CONFIG REQUIRED)
find_package(PkgConfig REQUIRED)

set(VELTRANE_JUCE_MODULES
    juce_core
    juce_events
    juce_data_structures
    juce_audio_basics
    juce_audio_formats
    juce_audio_devices
    juce_audio_processors
    juce_audio_utils
    juce_graphics
    juce_gui_basics
    juce_gui_extra)

# Every JUCE option of the project, set once. Every plug-in, tool and test target links this.
add_library(veltrane_juce_options INTERFACE)
target_compile_definitions(veltrane_juce_options INTERFACE
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_WEB_BROWSER=0
    # Windows uses WinINet instead of curl.
    JUCE_USE_CURL=$<IF:$<PLATFORM_ID:Windows>,0,1>
    JUCE_LOAD_CURL_SYMBOLS_LAZILY=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    # No modal loops anywhere: a plug-in must never run one inside the host's message thread. The
    # command-line probe and the tests step the message queue themselves while they wait.
    JUCE_MODAL_LOOPS_PERMITTED=0
    VELTRANE_PRODUCT_VERSION="${VELTRANE_PRODUCT_VERSION}")

# Debian's JUCE is de-vendored: the codecs and compression libraries come from the system.
add_library(veltrane_system_libraries INTERFACE)
if(WIN32)
    # Cross-built with MinGW (cmake/toolchains): static libpng and libjpeg from
    # scripts/build-windows-deps, MinGW's static zlib, and no audio codecs the plug-in never reads.
    target_compile_definitions(veltrane_juce_options INTERFACE
        JUCE_USE_FLAC=0 JUCE_USE_OGGVORBIS=0 JUCE_USE_WINDOWS_MEDIA_FORMAT=0)
    find_library(VELTRANE_PNG_LIBRARY NAMES libpng16.a REQUIRED)
    find_library(VELTRANE_JPEG_LIBRARY NAMES libjpeg.a REQUIRED)
    find_library(VELTRANE_ZLIB_LIBRARY NAMES libz.a REQUIRED)
    find_path(VELTRANE_IMAGE_INCLUDE_DIR NAMES png.h jpeglib.h REQUIRED)
    target_include_directories(veltrane_system_libraries SYSTEM INTERFACE "${VELTRANE_IMAGE_INCLUDE_DIR}")
    target_link_libraries(veltrane_system_libraries INTERFACE
        "${VELTRANE_PNG_LIBRARY}" "${VELTRANE_JPEG_LIBRARY}" "${VELTRANE_ZLIB_LIBRARY}" shell32)
else()
    pkg_check_modules(VELTRANE_SYSTEM_LIBS REQUIRED IMPORTED_TARGET
        zlib libpng libjpeg flac vorbis vorbisenc vorbisfile ogg libcurl)
    target_link_libraries(veltrane_system_libraries INTERFACE PkgConfig::VELTRANE_SYSTEM_LIBS)
endif()

# veltrane_add_juce_library(<name> [DEFINITIONS <definition>...])
function(veltrane_add_juce_library name)
    cmake_parse_arguments(ARG "" "" "DEFINITIONS" ${ARGN})

    add_library(${name} STATIC)
    set_target_properties(${name} PROPERTIES
        POSITION_INDEPENDENT_CODE TRUE
        VISIBILITY_INLINES_HIDDEN TRUE
        C_VISIBILITY_PRESET hidden
        CXX_VISIBILITY_PRESET hidden)

    set(modules)
    foreach(module IN LISTS VELTRANE_JUCE_MODULES)
        list(APPEND modules juce::${module})
        # Usage requirements of each module, evaluated transitively, without its sources.
        target_compile_definitions(${name} INTERFACE
            $<TARGET_PROPERTY:juce::${module},INTERFACE_COMPILE_DEFINITIONS>)
        target_include_directories(${name} SYSTEM INTERFACE
            $<TARGET_PROPERTY:juce::${module},INTERFACE_INCLUDE_DIRECTORIES>)
    endforeach()

    target_link_libraries(${name}
        PRIVATE ${modules}
        PUBLIC veltrane_juce_options veltrane_system_libraries)
    target_compile_definitions(${name} PUBLIC ${ARG_DEFINITIONS})
    target_compile_features(${name} PUBLIC cxx_std_17)
endfunction()

# The framework as the plug-in, the tools and the unit tests use it.
veltrane_add_juce_library(veltrane_juce)

# The same framework with VST3 hosting, for the test that loads the built bundle as a host does.
if((VELTRANE_BUILD_TESTS AND VELTRANE_BUILD_PLUGIN) OR VELTRANE_BUILD_HOST_TEST)
    veltrane_add_juce_library(veltrane_juce_hosting DEFINITIONS JUCE_PLUGINHOST_VST3=1)
endif()
