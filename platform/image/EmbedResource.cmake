# Writes the bytes of INPUT as a C++ array named SYMBOL into OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
# Break the array into lines of 32 bytes so compilers and diffs stay happy.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" body "${body}")
if(hex_len EQUAL 0)
  set(body "0")
endif()
file(WRITE ${OUTPUT}.tmp "// Generated from ${INPUT}; do not edit.\nextern const unsigned char ${SYMBOL}[];\nalignas(16) const unsigned char ${SYMBOL}[] = {\n${body}\n};\nextern const unsigned long ${SYMBOL}_size;\nconst unsigned long ${SYMBOL}_size = ${size}u;\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
