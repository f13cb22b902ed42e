# Turns the names of the interface text table into C++ constants: Tag::OpenSpriteFile for the tag
# of a control's row, Msg::SpriteNotSaved for the pair of texts of a message row.
include(${CMAKE_CURRENT_LIST_DIR}/write_if_changed.cmake)
get_filename_component(source_name ${INPUT} NAME)
file(READ ${INPUT} content)
# Each line becomes one list element: characters that CMake lists treat specially are masked,
# and the texts are escaped for C++ string literals.
# In a text, \n is a line break, \s a blank (kept where an editor would trim it) and \\ a
# backslash.
string(REPLACE "\\\\" "@backslash@" content "${content}")
string(REPLACE "\\n" "@newline@" content "${content}")
string(REPLACE "\\s" " " content "${content}")
string(REPLACE "\\" "\\\\" content "${content}")
string(REPLACE "\"" "\\\"" content "${content}")
string(REPLACE ";" "@semicolon@" content "${content}")
string(REPLACE "[" "@open@" content "${content}")
string(REPLACE "]" "@close@" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")
set(tags "")
set(messages "")
set(listed "")
foreach(line IN LISTS lines)
    if(line MATCHES "^([0-9]+)\t([A-Za-z][A-Za-z0-9]*)\t")
        string(APPEND tags "inline constexpr int ${CMAKE_MATCH_2} = ${CMAKE_MATCH_1};\n")
    elseif(line MATCHES "^msg\t([A-Za-z][A-Za-z0-9]*)\t([^\t]*)\t([^\t]*)$")
        string(APPEND messages
               "inline constexpr Bilingual ${CMAKE_MATCH_1}{\"${CMAKE_MATCH_2}\", \"${CMAKE_MATCH_3}\"};\n")
        string(APPEND listed "    {\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_1}},\n")
    endif()
endforeach()
string(REPLACE "@semicolon@" ";" messages "${messages}")
string(REPLACE "@open@" "[" messages "${messages}")
string(REPLACE "@close@" "]" messages "${messages}")
string(REPLACE "@newline@" "\\n" messages "${messages}")
string(REPLACE "@backslash@" "\\\\" messages "${messages}")
string(CONCAT generated
"// Generated from ${source_name}; edit that file instead.\n"
"#pragma once\n"
"#include <utility>\n"
"#include \"app/messages.h\"\n"
"namespace vek::Tag {\n"
"${tags}"
"}  // namespace vek::Tag\n"
"namespace vek::Msg {\n"
"${messages}"
"// Every message with its name, for the checks of the table.\n"
"inline constexpr std::pair<std::string_view, Bilingual> kAllMessages[] = {\n"
"${listed}"
"};\n"
"}  // namespace vek::Msg\n")
vek_write_if_changed(${OUTPUT} "${generated}")
