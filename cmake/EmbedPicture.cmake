# Writes the form's design with its picture filled in: the line
#     Picture.Data = {TJPEGImage: FILE}
# becomes the binary value that the image reads, a length byte and the class name
# "TJPEGImage", the JPEG's size as 32 bits little-endian, then the JPEG's bytes. The JPEG
# file stays the only source of the picture.
#   cmake -DDESIGN=in.dfm -DPICTURE_DIR=dir -DOUTPUT=out.dfm -P EmbedPicture.cmake

file(READ ${DESIGN} design)
string(REGEX MATCH "([ ]*)Picture\\.Data = {TJPEGImage: ([^}]+)}" directive "${design}")
if(NOT directive)
    message(FATAL_ERROR "${DESIGN}: no Picture.Data = {TJPEGImage: FILE} line")
endif()
set(indent "${CMAKE_MATCH_1}")
set(picture "${PICTURE_DIR}/${CMAKE_MATCH_2}")

file(READ ${picture} jpeg HEX)
string(LENGTH "${jpeg}" digits)
math(EXPR size "${digits} / 2")
math(EXPR count "${size}" OUTPUT_FORMAT HEXADECIMAL)
# The count as 8 hex digits, then byte-swapped to little-endian.
string(SUBSTRING "${count}" 2 -1 count)
string(LENGTH "${count}" length)
while(length LESS 8)
    string(PREPEND count "0")
    string(LENGTH "${count}" length)
endwhile()
string(SUBSTRING "${count}" 6 2 b0)
string(SUBSTRING "${count}" 4 2 b1)
string(SUBSTRING "${count}" 2 2 b2)
string(SUBSTRING "${count}" 0 2 b3)

# 0A "TJPEGImage"
set(data "0A544A504547496D616765${b0}${b1}${b2}${b3}${jpeg}")
string(TOUPPER "${data}" data)

# 64 digits a line, indented one step below the property.
set(value "Picture.Data = {")
string(LENGTH "${data}" total)
set(at 0)
while(at LESS total)
    string(SUBSTRING "${data}" ${at} 64 line)
    string(APPEND value "\n${indent}  ${line}")
    math(EXPR at "${at} + 64")
endwhile()
string(APPEND value "}")

string(REPLACE "Picture.Data = {TJPEGImage: ${CMAKE_MATCH_2}}" "${value}" design "${design}")
file(WRITE ${OUTPUT}.tmp "${design}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
