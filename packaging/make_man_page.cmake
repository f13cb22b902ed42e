# Writes vek's manual page (roff) from the tool's own help texts, so that the two never differ:
#   cmake -DVEK=path/to/vek -DVERSION=x.y -DOUTPUT=vek.1 -P make_man_page.cmake
function(run_vek out_var)
    execute_process(COMMAND ${VEK} ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "vek ${ARGN} failed: ${status}")
    endif()
    set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# Help text as literal roff lines: backslashes and leading dots or quotes are escaped.
function(roff_literal out_var text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

run_vek(tool_help --help)
string(REGEX REPLACE ".*\nVerbs:\n" "" verb_lines "${tool_help}")
# One verb a line, two blanks in; every match starts at a line break of its own.
string(REGEX MATCHALL "\n  [a-z0-9-]+ " verbs "\n${verb_lines}")

string(REGEX REPLACE "\nVerbs:\n.*" "" overview "${tool_help}")
roff_literal(overview "${overview}")
set(page ".TH VEK 1 \"\" \"Vekstudio ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\nvek \\- make add-on content for the game Creatures from the command line\n")
string(APPEND page ".SH SYNOPSIS\n.nf\n${overview}\n.fi\n.SH VERBS\n")
foreach(verb IN LISTS verbs)
    string(STRIP "${verb}" verb)
    run_vek(usage ${verb} --help)
    roff_literal(usage "${usage}")
    string(APPEND page ".SS ${verb}\n.nf\n${usage}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${page}")
