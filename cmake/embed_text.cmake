# Turns a UTF-8 text file into a C++ source that defines it as one string.
file(READ ${INPUT} content)
set(delimiter "vek_embedded")
file(WRITE ${OUTPUT}.tmp
"// Generated from the interface text table; edit the .tsv file instead.\n"
"#include <string_view>\n"
"namespace vek {\n"
"extern const std::string_view kTextTableData;\n"
"const std::string_view kTextTableData = R\"${delimiter}(${content})${delimiter}\";\n"
"}  // namespace vek\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
