# prunko_use_large_order_report(<target>): makes <target> depend on an order
# report of the most rows a sheet holds, written once per build tree by
# tests/data/make_order_reports.py (too large to keep in the repository),
# and gives it the file's path as PRUNKO_LARGE_ORDER_REPORT.
set(PRUNKO_LARGE_ORDER_REPORT "${PROJECT_BINARY_DIR}/generated/order_report_large.xls")

function(prunko_use_large_order_report target)
  if(NOT TARGET prunko_large_order_report)
    # Debian's python3, which has python3-xlwt, before any other on the PATH.
    find_program(PRUNKO_PYTHON3 python3 HINTS /usr/bin REQUIRED)
    add_custom_command(OUTPUT "${PRUNKO_LARGE_ORDER_REPORT}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/generated"
      COMMAND "${PRUNKO_PYTHON3}" make_order_reports.py --large "${PRUNKO_LARGE_ORDER_REPORT}"
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}/tests/data"
      DEPENDS "${PROJECT_SOURCE_DIR}/tests/data/make_order_reports.py"
      COMMENT "Writing the large order report fixture")
    add_custom_target(prunko_large_order_report DEPENDS "${PRUNKO_LARGE_ORDER_REPORT}")
  endif()
  add_dependencies(${target} prunko_large_order_report)
  target_compile_definitions(${target} PRIVATE PRUNKO_LARGE_ORDER_REPORT="${PRUNKO_LARGE_ORDER_REPORT}")
endfunction()
