# The device library database db/lm.db, built from data/lm.sql with the sqlite3
# shell. The database is made afresh into a temporary file and moved into place
# only when every statement succeeded, so a failed build never leaves a partial
# or stale library behind.

find_program(RADOVE_SQLITE3 sqlite3 REQUIRED)

set(radove_lm_sql ${CMAKE_CURRENT_SOURCE_DIR}/lm.sql)
set(radove_lm_db ${RADOVE_RUNTIME_DIR}/db/lm.db)
set(radove_lm_tmp ${RADOVE_RUNTIME_DIR}/db/lm.db.tmp)

add_custom_command(
  OUTPUT ${radove_lm_db}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RADOVE_RUNTIME_DIR}/db
  COMMAND ${CMAKE_COMMAND} -E rm -f ${radove_lm_db} ${radove_lm_tmp}
  COMMAND ${RADOVE_SQLITE3} -bail ${radove_lm_tmp} ".read ${radove_lm_sql}"
  COMMAND ${CMAKE_COMMAND} -E rename ${radove_lm_tmp} ${radove_lm_db}
  DEPENDS ${radove_lm_sql}
  COMMENT "Building the device library db/lm.db"
  VERBATIM)

add_custom_target(radove_db ALL DEPENDS ${radove_lm_db})
