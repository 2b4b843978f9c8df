# Writes the man page of velumi with help2man: the general help, then every
# command's own help as a section of its own.
#   cmake -DTOOL=path/velumi -DHELP2MAN=path/help2man -DOUT=velumi.1 -P make_man.cmake
set(commands translate show show-ascii show-image reset info page image2tgx demo)
set(include "[NAME]\nvelumi \\- the command-line tool for the Velumi tactile pad\n\n[COMMANDS]\n")
foreach(c ${commands})
  execute_process(COMMAND ${TOOL} ${c} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "velumi ${c} --help failed")
  endif()
  string(REPLACE "\\" "\\\\" help "${help}")
  string(REGEX REPLACE "\n([^\n])" "\n.br\n\\1" help "${help}")
  string(APPEND include ".SS ${c}\n${help}\n")
endforeach()
string(APPEND include "\n[FILES]\nTrace files go to _VelumiLog/ beside the executable, else ~/.local/state/velumi/log/ (VELUMI_LOG_DIR overrides).\n")
file(WRITE ${OUT}.h2m "${include}")
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr --include=${OUT}.h2m --output=${OUT} ${TOOL}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed: ${err}")
endif()
