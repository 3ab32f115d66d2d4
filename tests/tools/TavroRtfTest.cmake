# tavro-rtf prints a document's text, writes it again through the writer,
# and answers bad input with a message and a non-zero status.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(expect_output args expected_status expected_text stream)
    execute_process(COMMAND "${TOOL}" ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(stream STREQUAL "stdout")
        set(seen "${out}")
    else()
        set(seen "${err}")
    endif()
    string(FIND "${seen}" "${expected_text}" found)
    if(NOT status EQUAL expected_status OR found EQUAL -1)
        message(FATAL_ERROR "tavro-rtf ${args}: status ${status}, expected ${expected_status} "
                            "and '${expected_text}' in:\n${out}${err}")
    endif()
endfunction()

# A heading, a table row, non-Latin text and a 20 x 10 PNG.
file(WRITE "${WORK}/sample.rtf" [=[{\rtf1\ansi{\fonttbl{\f0 Arial;}}{\b\fs32 Heading}\par
\trowd\cellx100\cellx200\intbl A1\cell B1\cell\row
\u1043?\u1088? caf\'e9\par
pic: {\pict\pngblip\picw20\pich10 89504e470d0a1a0a0000000d49484452000000140000000a08020000003b37e9b1
0000001549444154789c63f8cfc04036225fe7a8e611a319003144c73974da8b110000000049454e44ae426082} end\par}]=])
set(sample_text "Heading\nA1\tB1\nГр café\npic: [picture 20x10] end\n")
expect_output("text;${WORK}/sample.rtf" 0 "${sample_text}" stdout)

execute_process(COMMAND "${TOOL}" roundtrip "${WORK}/sample.rtf" "${WORK}/again.rtf" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "roundtrip failed")
endif()
expect_output("text;${WORK}/again.rtf" 0 "${sample_text}" stdout)

file(WRITE "${WORK}/plain.txt" "Hello")
file(WRITE "${WORK}/truncated.rtf" "{\\rtf1 {\\b cut")
expect_output("text;${WORK}/missing.rtf" 1 "cannot open" stderr)
expect_output("text;${WORK}/plain.txt" 1 "is not an RTF document" stderr)
expect_output("text;${WORK}" 1 "cannot read" stderr)
expect_output("text;${WORK}/truncated.rtf" 1 "truncated" stderr)
expect_output("text;${WORK}/truncated.rtf" 1 "cut" stdout)
expect_output("roundtrip;${WORK}/sample.rtf;${WORK}/no/such/folder/x.rtf" 1 "cannot write" stderr)
expect_output("frobnicate" 2 "usage" stderr)
file(REMOVE_RECURSE "${WORK}")
