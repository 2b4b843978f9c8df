# The Korean Hanja reading table is generated from libhangul's dictionary
# (Debian package libhangul-data) by scripts/gen_hanja_table.py.
kotari_generated_source(
  OUTPUT hanja_readings.cpp
  SCRIPT gen_hanja_table.py
  INPUTS /usr/share/libhangul/hanja/hanja.txt
  ARGS --input /usr/share/libhangul/hanja/hanja.txt
  PACKAGES libhangul-data
  COMMENT "Generating the Korean Hanja reading table")
