# The shared library Wren_Utils with its C exports (libWren_Utils.so, Wren_Utils.dll,
# libWren_Utils.dylib), built beside the programs that load it by file name.
add_library(Wren_Utils SHARED ${CMAKE_CURRENT_SOURCE_DIR}/WrenUtilsExports.cpp)
target_link_libraries(Wren_Utils PRIVATE wren_utils_core)
target_compile_definitions(Wren_Utils PRIVATE WREN_UTILS_BUILD)
set_target_properties(Wren_Utils PROPERTIES
    OUTPUT_NAME Wren_Utils
    AUTOMOC OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
if(WIN32)
    # Undecorated names for the stdcall exports, and no "lib" prefix from MinGW.
    target_sources(Wren_Utils PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/WrenUtils.def)
    target_link_libraries(Wren_Utils PRIVATE gdi32 user32)
    set_target_properties(Wren_Utils PROPERTIES PREFIX "")
endif()
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Only the C interface leaves the library, not the static core linked into it.
    target_link_options(Wren_Utils PRIVATE -Wl,--exclude-libs,ALL)
endif()
