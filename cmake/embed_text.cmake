# Turns a UTF-8 text file into a C++ source that defines it as one string, named SYMBOL
# (kTextTableData unless given).
if(NOT SYMBOL)
    set(SYMBOL kTextTableData)
endif()
get_filename_component(source_name ${INPUT} NAME)
file(READ ${INPUT} content)
set(delimiter "vek_embedded")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${source_name}; edit that file instead.\n"
"#include <string_view>\n"
"namespace vek {\n"
"extern const std::string_view ${SYMBOL};\n"
"const std::string_view ${SYMBOL} = R\"${delimiter}(${content})${delimiter}\";\n"
"}  // namespace vek\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
