# Writes OUTPUT, a C++ header holding the bytes of INPUT as the array NAME
# (followed by a zero byte) and their count as NAME_size.
# Usage: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed_text.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated at build time from ${INPUT}; edit that file instead.\n"
  "#pragma once\n\n"
  "inline constexpr unsigned char ${NAME}[] = {\n    ${bytes}0x00};\n"
  "inline constexpr unsigned long ${NAME}_size = ${size};\n")
