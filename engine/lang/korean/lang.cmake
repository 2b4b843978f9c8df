# The Korean Hanja reading table is generated from libhangul's dictionary
# (Debian package libhangul-data) by scripts/gen_hanja_table.py.
kotari_generated_source(
  OUTPUT hanja_readings.cpp
  SCRIPT gen_hanja_table.py
  INPUTS /usr/share/libhangul/hanja/hanja.txt
  ARGS --input /usr/share/libhangul/hanja/hanja.txt
  PACKAGES libhangul-data
  COMMENT "Generating the Korean Hanja reading table")

# The punctuation rows and the names of their classes (data/korean_punctuation.tsv),
# the syllable range sets (data/korean_first_ranges.tsv, data/korean_second_ranges.tsv) and
# the Roman numerals' spellings (data/korean_roman_numerals.tsv).
kotari_table_rows(korean_punctuation korean_first_ranges korean_second_ranges korean_roman_numerals)
kotari_table_names(korean_punctuation)
