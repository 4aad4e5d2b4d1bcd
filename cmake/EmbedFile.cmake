# prunko_embed_file(<target> <file> <function>)
# Compiles <file> into <target> as `const std::string& <function>()` in
# namespace prunko::sandbox.
function(prunko_embed_file target file function)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${function}.cpp)
  file(WRITE ${out}.in
    "#include <string>\nnamespace prunko::sandbox {\nconst std::string& ${function}() {\n"
    "  static const std::string bytes(\"${escaped}\", ${size});\n  return bytes;\n}\n}  // namespace prunko::sandbox\n")
  configure_file(${out}.in ${out} COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  target_sources(${target} PRIVATE ${out})
endfunction()
