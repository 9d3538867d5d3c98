# Writes a manual page from a program's French --help text, so that the page
# and the help never disagree.
#   cmake -DPROGRAM=exe -DNAME=name -DVERSION=x.y.z -DSEE_ALSO=other -DOUTPUT=file.1 -P ManPage.cmake
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help a échoué : ${status}")
endif()

# A title is a line ending in " :" whose next line is indented: mark it before
# the lines are walked, as a description line may end in " :" too.
string(REGEX REPLACE "\n([^ \n][^\n]*) :\n  " "\n@TITLE@\\1\n  " help "${help}")

# CMake lists split on ";" and hold "[...]" together: hide both while walking lines.
string(REPLACE ";" "@SEMI@" help "${help}")
string(REPLACE "[" "@LB@" help "${help}")
string(REPLACE "]" "@RB@" help "${help}")
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

# "-h, --help" in bold; a value name such as "N" in "--track N" in italics.
function(roff_option text out)
  if(text MATCHES "^(.*[^,]) ([^-].*)$")
    set(text "\\fB${CMAKE_MATCH_1}\\fR \\fI${CMAKE_MATCH_2}\\fR")
  else()
    set(text "\\fB${text}\\fR")
  endif()
  string(REPLACE "-" "\\-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Running text: "--" is not a dash, a leading "." or "'" is not a request.
function(roff_text text out)
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  string(REPLACE "--" "\\-\\-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(section "")
set(synopsis "")
set(summary "")
set(description "")
set(entries "")
set(options_begun FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "^Utilisation : ${NAME} (.*)$")
    set(synopsis "${CMAKE_MATCH_1}")
    set(section "DESCRIPTION")
  elseif(line MATCHES "^@TITLE@(Arguments|Exemples|Codes de sortie)$")
    string(TOUPPER "${CMAKE_MATCH_1}" section)
    string(APPEND entries ".SH \"${section}\"\n")
  elseif(line MATCHES "^@TITLE@(.*)$")
    # The options, under one title or in sections of their own.
    if(NOT options_begun)
      string(APPEND entries ".SH OPTIONS\n")
      set(options_begun TRUE)
    endif()
    if(NOT CMAKE_MATCH_1 STREQUAL "Options")
      string(APPEND entries ".SS ${CMAKE_MATCH_1}\n")
    endif()
    set(section "OPTIONS")
  elseif(line STREQUAL "")
  elseif(section STREQUAL "DESCRIPTION")
    if(summary STREQUAL "")
      string(REGEX REPLACE " : .*|\\.$" "" summary "${line}")
    endif()
    roff_text("${line}" line)
    string(APPEND description "${line}\n")
  elseif(line MATCHES "^   +([^ ].*)$")
    # The text of the entry above goes on.
    roff_text("${CMAKE_MATCH_1}" text)
    string(APPEND entries "${text}\n")
  elseif(section STREQUAL "EXEMPLES" AND line MATCHES "^  ([^ ].*)$")
    string(REPLACE "-" "\\-" command "${CMAKE_MATCH_1}")
    string(APPEND entries ".TP\n\\fB${command}\\fR\n")
  elseif(line MATCHES "^  ([^ ].*[^ ]|[^ ])  +([^ ].*)$")
    set(what "${CMAKE_MATCH_1}")
    roff_text("${CMAKE_MATCH_2}" text)
    if(section STREQUAL "OPTIONS")
      roff_option("${what}" what)
    else()
      set(what "\\fI${what}\\fR")
    endif()
    string(APPEND entries ".TP\n${what}\n${text}\n")
  else()
    message(FATAL_ERROR "Ligne inattendue dans l'aide de ${NAME} : ${line}")
  endif()
endforeach()
if(synopsis STREQUAL "" OR summary STREQUAL "")
  message(FATAL_ERROR "L'aide de ${NAME} n'a pas la forme attendue.")
endif()

string(TOUPPER "${NAME}" title)
string(TIMESTAMP date "%Y-%m-%d" UTC)
set(page ".TH ${title} 1 ${date} \"Calvenor ${VERSION}\" \"Commandes de l'utilisateur\"
.SH NOM
${NAME} \\- ${summary}
.SH SYNOPSIS
.B ${NAME}
${synopsis}
.SH DESCRIPTION
${description}${entries}.SH \"VOIR AUSSI\"
.BR ${SEE_ALSO} (1)
")
string(REPLACE "@SEMI@" ";" page "${page}")
string(REPLACE "@LB@" "[" page "${page}")
string(REPLACE "@RB@" "]" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
