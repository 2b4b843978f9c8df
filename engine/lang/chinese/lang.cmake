# The Chinese character table, reading-choice table and word pairs are generated
# by scripts/gen_chinese_tables.py from unicode-data (Unihan), liblouis's zhcn
# tables and python3-jieba's word list.
kotari_generated_source(
  OUTPUT chinese_data.cpp
  SCRIPT gen_chinese_tables.py
  INPUTS
    /usr/share/unicode/Unihan_Readings.txt.bz2
    /usr/share/liblouis/tables/zhcn-g1.ctb
    /usr/share/liblouis/tables/zhcn-g2.ctb
    /usr/lib/python3/dist-packages/jieba/dict.txt
  PACKAGES "unicode-data, liblouis-data and python3-jieba"
  COMMENT "Generating the Chinese character, reading-choice and word-pair tables")
