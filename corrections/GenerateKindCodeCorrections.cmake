# Writes OUTPUT, the C++ constant table, from TABLE, the correction table as data: one
# "KindCode<TAB>Direct<TAB>LineOverhead" line per correction, in execution order. The sandbox
# seeds its sample databases from the same file.
#   cmake -DTABLE=KindCodeCorrections.tsv -DOUTPUT=KindCodeCorrections.cpp -P <this file>
file(STRINGS "${TABLE}" lines)
set(entries "")
set(count 0)
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([A-Z0-9]+)\t([01])\t([01])$")
        message(FATAL_ERROR "${TABLE}: not a correction line: [${line}]")
    endif()
    string(APPEND entries "    {\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}, ${CMAKE_MATCH_3}},\n")
    math(EXPR count "${count} + 1")
endforeach()
# The count is fixed by the header's array type; a table of another length does not compile.
get_filename_component(source "${TABLE}" NAME)
file(WRITE "${OUTPUT}" "// Generated from corrections/${source} (${count} entries): edit that file, not this one.
#include \"corrections/KindCodeCorrections.h\"

namespace flagwright {

// Kind code, Direct, LineOverhead. Entries 35 to 658 run in ASCII order of the code, except
// that FT follows FTSC.
// clang-format off
const std::array<KindCodeCorrection, KindCodeCorrectionCount> KindCodeCorrections = {{
${entries}}};
// clang-format on

} // namespace flagwright
")
