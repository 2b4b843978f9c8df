# The Chinese character table, reading-choice table and word pairs are generated
# by scripts/gen_chinese_tables.py from unicode-data (Unihan), liblouis's zhcn
# tables and python3-jieba's word list.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KOTARI_CHINESE_INPUTS
  /usr/share/unicode/Unihan_Readings.txt.bz2
  /usr/share/liblouis/tables/zhcn-g1.ctb
  /usr/share/liblouis/tables/zhcn-g2.ctb
  /usr/lib/python3/dist-packages/jieba/dict.txt)
foreach(f ${KOTARI_CHINESE_INPUTS})
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "${f} is missing: install unicode-data, liblouis-data and python3-jieba (scripts/setup.sh)")
  endif()
endforeach()
set(KOTARI_CHINESE_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/gen_chinese_tables.py)
set(KOTARI_CHINESE_CPP ${CMAKE_CURRENT_BINARY_DIR}/chinese_data.cpp)
add_custom_command(
  OUTPUT ${KOTARI_CHINESE_CPP}
  COMMAND ${Python3_EXECUTABLE} ${KOTARI_CHINESE_SCRIPT} --output ${KOTARI_CHINESE_CPP}
  DEPENDS ${KOTARI_CHINESE_SCRIPT} ${KOTARI_CHINESE_INPUTS}
  COMMENT "Generating the Chinese character, reading-choice and word-pair tables"
  VERBATIM)
list(APPEND KOTARI_GENERATED_SOURCES ${KOTARI_CHINESE_CPP})
