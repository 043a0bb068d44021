# Builds the library database from its SQL sources:
#   cmake -DSQLITE3=<program> -DOUT=<file> -DSOURCES=<a.sql|b.sql|...> -P build_library.cmake
# The database is written beside the target under a temporary name and renamed
# over it only when every statement succeeded, so a failed build leaves the
# previous file (or none), never half of one.
foreach(var SQLITE3 OUT SOURCES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "build_library.cmake: ${var} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" SOURCES "${SOURCES}")
set(tmp_db "${OUT}.tmp")
set(tmp_sql "${OUT}.sql.tmp")
file(REMOVE "${tmp_db}" "${tmp_sql}")

# Rollback journal, not WAL, so the file opens read-only from a directory
# nobody may write to. Each table file loads in one transaction of its own,
# so an error names its file.
set(prologue "PRAGMA journal_mode=DELETE;")
foreach(src IN LISTS SOURCES)
  file(READ "${src}" text)
  # Kept on the first line, so the error line numbers are those of the file.
  file(WRITE "${tmp_sql}" "${prologue}BEGIN;${text}\nCOMMIT;\n")
  set(prologue "")
  execute_process(
    COMMAND "${SQLITE3}" -bail -batch "${tmp_db}"
    INPUT_FILE "${tmp_sql}"
    RESULT_VARIABLE rc
    OUTPUT_QUIET
    ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    file(REMOVE "${tmp_db}" "${tmp_sql}")
    message(FATAL_ERROR "library database not built, ${src}: ${err}")
  endif()
endforeach()
file(REMOVE "${tmp_sql}")
file(RENAME "${tmp_db}" "${OUT}")
