# The Korean Hanja reading table is generated from libhangul's dictionary
# (Debian package libhangul-data) by scripts/gen_hanja_table.py.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KOTARI_HANJA_DATA /usr/share/libhangul/hanja/hanja.txt)
set(KOTARI_HANJA_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/gen_hanja_table.py)
set(KOTARI_HANJA_CPP ${CMAKE_CURRENT_BINARY_DIR}/hanja_readings.cpp)
if(NOT EXISTS ${KOTARI_HANJA_DATA})
  message(FATAL_ERROR "${KOTARI_HANJA_DATA} is missing: install libhangul-data (scripts/setup.sh)")
endif()
add_custom_command(
  OUTPUT ${KOTARI_HANJA_CPP}
  COMMAND ${Python3_EXECUTABLE} ${KOTARI_HANJA_SCRIPT} --input ${KOTARI_HANJA_DATA} --output ${KOTARI_HANJA_CPP}
  DEPENDS ${KOTARI_HANJA_SCRIPT} ${KOTARI_HANJA_DATA}
  COMMENT "Generating the Korean Hanja reading table"
  VERBATIM)
list(APPEND KOTARI_GENERATED_SOURCES ${KOTARI_HANJA_CPP})
