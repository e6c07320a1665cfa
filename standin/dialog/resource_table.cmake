# Turns a compiled resource file (windres -O res) into a C++ source holding
# the program's resource table, so the dialog manager reads the very bytes the
# resource script compiles to. Resources named by string are left out: the
# table knows ordinals only.
#
#   cmake -DRESOURCES=<file.res> -DOUTPUT=<file.cpp> -P resource_table.cmake

cmake_minimum_required(VERSION 3.25)

file(READ "${RESOURCES}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR total "${hex_length} / 2")

# The little-endian number of size bytes at offset.
function(read_number offset size result)
  set(value 0)
  math(EXPR last "${size} - 1")
  foreach(index RANGE ${last} 0 -1)
    math(EXPR position "(${offset} + ${index}) * 2")
    string(SUBSTRING "${hex}" ${position} 2 byte)
    math(EXPR value "${value} * 256 + 0x${byte}")
  endforeach()
  set(${result} ${value} PARENT_SCOPE)
endfunction()

# A type or name field: 0xFFFF and an ordinal, or a 0-terminated UTF-16
# string. Sets ordinal (empty for a string) and the offset after the field.
function(read_name offset ordinal_result next_result)
  read_number(${offset} 2 first)
  if(first EQUAL 65535)
    read_number(${offset}+2 2 ordinal)
    math(EXPR next "${offset} + 4")
  else()
    set(ordinal "")
    set(next ${offset})
    set(unit ${first})
    while(NOT unit EQUAL 0)
      math(EXPR next "${next} + 2")
      read_number(${next} 2 unit)
    endwhile()
    math(EXPR next "${next} + 2")
  endif()
  set(${ordinal_result} "${ordinal}" PARENT_SCOPE)
  set(${next_result} ${next} PARENT_SCOPE)
endfunction()

set(arrays "")
set(entries "")
set(count 0)
set(offset 0)
while(offset LESS total)
  math(EXPR header_end "${offset} + 8")
  if(header_end GREATER total)
    message(FATAL_ERROR "${RESOURCES}: a resource header is cut off at byte ${offset}")
  endif()
  read_number(${offset} 4 data_size)
  read_number(${offset}+4 4 header_size)
  math(EXPR data_offset "${offset} + ${header_size}")
  math(EXPR data_end "${data_offset} + ${data_size}")
  if(header_size LESS 16 OR data_end GREATER total)
    message(FATAL_ERROR "${RESOURCES}: the resource at byte ${offset} does not fit in the file")
  endif()
  math(EXPR type_offset "${offset} + 8")
  read_name(${type_offset} type name_offset)
  read_name(${name_offset} id after_name)
  # The file starts with an empty resource that only marks the format.
  if(data_size GREATER 0 AND NOT type STREQUAL "" AND NOT id STREQUAL "")
    # Twelve bytes to a line.
    set(lines "")
    math(EXPR hex_end "${data_end} * 2")
    math(EXPR hex_offset "${data_offset} * 2")
    while(hex_offset LESS hex_end)
      math(EXPR line_size "${hex_end} - ${hex_offset}")
      if(line_size GREATER 24)
        set(line_size 24)
      endif()
      string(SUBSTRING "${hex}" ${hex_offset} ${line_size} line)
      string(REGEX REPLACE "(..)" "0x\\1, " line "${line}")
      string(STRIP "${line}" line)
      string(APPEND lines "    ${line}\n")
      math(EXPR hex_offset "${hex_offset} + ${line_size}")
    endwhile()
    string(APPEND arrays "const BYTE kResource${count}[] = {\n${lines}};\n")
    string(APPEND entries "    {${type}, ${id}, kResource${count}, ${data_size}},\n")
    math(EXPR count "${count} + 1")
  endif()
  # Each resource starts on a 4-byte boundary.
  math(EXPR offset "(${data_end} + 3) / 4 * 4")
endwhile()

get_filename_component(source_name "${RESOURCES}" NAME)
file(WRITE "${OUTPUT}.new" "// The resources of ${source_name}, written by resource_table.cmake.
#include <resource_table.h>

namespace {

${arrays}
}  // namespace

extern \"C\" const RESOURCE_ENTRY g_moduleResources[] = {
${entries}    {0, 0, nullptr, 0},
};
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
