// prunko-xls-reader <file>: reads the first sheet of an order report and
// writes its rows to standard output as JSON (see sheet_cells.h). Runs apart
// from the program, so that a damaged file, which the spreadsheet library
// does not survive every time, can only ever take this process down.
// Exit code 2: no workbook.

#include <cstdio>
#include <string>

#include "alimama/sheet_cells.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: prunko-xls-reader <file>\n");
    return 1;
  }
  std::string json;
  if (!prunko::ReadSheetCells(argv[1], json)) return 2;
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}
