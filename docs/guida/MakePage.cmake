# One guide page: the Markdown SOURCE through MARKDOWN (markdown_py) into the HTML TEMPLATE,
# written to OUTPUT. Links between pages are written to the .md files, so they also work when
# the sources are read as they are; in the HTML they point to the .html pages.
execute_process(
    COMMAND ${MARKDOWN} -e utf-8 -o html -x markdown.extensions.extra -x markdown.extensions.toc ${SOURCE}
    OUTPUT_VARIABLE body
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "markdown_py failed on ${SOURCE}")
endif()
string(REGEX REPLACE "href=\"([a-z0-9-]+)\\.md" "href=\"\\1.html" body "${body}")

file(STRINGS ${SOURCE} heading REGEX "^# " LIMIT_COUNT 1)
string(REGEX REPLACE "^# +" "" title "${heading}")
if(NOT title STREQUAL "Guida di Quillio")
    string(APPEND title " – Guida di Quillio")
endif()

file(READ ${TEMPLATE} page)
string(REPLACE "@TITLE@" "${title}" page "${page}")
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
