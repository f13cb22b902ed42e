# Writes a generated file only when its text changes, so that what includes it is not rebuilt.
function(vek_write_if_changed file text)
    file(WRITE ${file}.tmp "${text}")
    file(COPY_FILE ${file}.tmp ${file} ONLY_IF_DIFFERENT)
    file(REMOVE ${file}.tmp)
endfunction()
