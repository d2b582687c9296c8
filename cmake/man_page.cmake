# Writes the manual page of a program from its --help, gzipped without a time stamp:
#   cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DVERSION=... -DOUT=... -P man_page.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
# roff: a backslash is written as \e, and a line that starts with a dot or a quote would be a
# request.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(TOUPPER "${NAME}" title)
file(WRITE ${OUT}.roff
".TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"
.SH NAME
${NAME} \\- ${SUMMARY}
.SH SYNOPSIS
.B ${NAME}
[\\fIOPTIONS\\fR]
.SH DESCRIPTION
The text that \\fB${NAME} \\-\\-help\\fR prints:
.PP
.nf
${help}.fi
.SH SEE ALSO
The README in /usr/share/doc/quorvex.
")
execute_process(COMMAND gzip -9nc ${OUT}.roff OUTPUT_FILE ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip of ${OUT} failed")
endif()
