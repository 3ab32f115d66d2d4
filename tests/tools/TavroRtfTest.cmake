# tavro-rtf prints a document's text, writes it again through the writer,
# and answers bad input with a message and a non-zero status.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(expect_output args expected_status expected_text)
    execute_process(COMMAND "${TOOL}" ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    string(FIND "${out}${err}" "${expected_text}" found)
    if(NOT status EQUAL expected_status OR found EQUAL -1)
        message(FATAL_ERROR "tavro-rtf ${args}: status ${status}, expected ${expected_status} "
                            "and '${expected_text}' in:\n${out}${err}")
    endif()
endfunction()

# A table row, non-Latin text and a 20 x 10 PNG.
file(WRITE "${WORK}/sample.rtf" [=[{\rtf1\ansi\trowd\cellx100\intbl A1\cell B1\cell\row
\u1043?\u1088? caf\'e9 {\pict\pngblip\picw20\pich10 89504e470d0a1a0a0000000d49484452000000140000000a08020000003b37e9b1
0000001549444154789c63f8cfc04036225fe7a8e611a319003144c73974da8b110000000049454e44ae426082}\par}]=])
set(sample_text "A1\tB1\nГр café [picture 20x10]\n")
expect_output("text;${WORK}/sample.rtf" 0 "${sample_text}")
expect_output("roundtrip;${WORK}/sample.rtf;${WORK}/again.rtf" 0 "")
expect_output("text;${WORK}/again.rtf" 0 "${sample_text}")

# A truncated file: its text, and the problem in the status.
file(WRITE "${WORK}/truncated.rtf" "{\\rtf1 {\\b cut")
expect_output("text;${WORK}/truncated.rtf" 1 "cut")
file(WRITE "${WORK}/plain.txt" "Hello")
expect_output("text;${WORK}/plain.txt" 1 "is not an RTF document")
expect_output("frobnicate" 2 "usage")
file(REMOVE_RECURSE "${WORK}")
