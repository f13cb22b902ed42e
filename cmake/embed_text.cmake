# Turns a UTF-8 text file into a C++ source that defines it as one string, named SYMBOL
# (kTextTableData unless given).
if(NOT SYMBOL)
    set(SYMBOL kTextTableData)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/write_if_changed.cmake)
get_filename_component(source_name ${INPUT} NAME)
file(READ ${INPUT} content)
set(delimiter "vek_embedded")
string(CONCAT generated
"// Generated from ${source_name}; edit that file instead.\n"
"#include <string_view>\n"
"namespace vek {\n"
"extern const std::string_view ${SYMBOL};\n"
"const std::string_view ${SYMBOL} = R\"${delimiter}(${content})${delimiter}\";\n"
"}  // namespace vek\n")
vek_write_if_changed(${OUTPUT} "${generated}")
