# Writes the host query tool's stroke listings for a fixed set of queries, each block headed by
# "== QUERY SET" (SET is "common" or "big"). Run with -DQUERY=tool -DDICT=dir -DOUT=file.
set(queries "" "a" "s" "d" "f" "g" "t" "?" "a?" "a?s" "sgas" "dsa" "gfgfg" "ffa" "????" "aasa")
file(WRITE ${OUT} "")
foreach(set common big)
  foreach(q IN LISTS queries)
    set(big_option "")
    if(set STREQUAL "big")
      set(big_option --big)
    endif()
    # The query is quoted on its own so that the empty query survives as an argument.
    execute_process(COMMAND ${QUERY} --dict ${DICT} ${big_option} strokes "${q}"
                    OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "tvime-query failed for '${q}' (${set})")
    endif()
    file(APPEND ${OUT} "== ${q} ${set}\n${listing}")
  endforeach()
endforeach()
