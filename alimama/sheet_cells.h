#pragma once

#include <string>

// The first sheet of an .xls (BIFF8) workbook as the order report needs it,
// for the helper process prunko-xls-reader: free of Qt, so it starts fast.
namespace prunko {

// The report's columns.
enum OrderReportColumn {
  kCreatedTimeColumn = 0,
  kItemTitleColumn = 2,
  kStatusColumn = 8,
  kPaidAmountColumn = 12,
  kEstimatedIncomeColumn = 13,
  kCommissionRateColumn = 17,
  kOrderNoColumn = 24,
  kSiteIdColumn = 26,
  kSiteNameColumn = 27,
  kAdzoneIdColumn = 28,
  kAdzoneNameColumn = 29,
  kReportColumns = 30,
};

// Every row after the header as a JSON array of 30 cells: a cell's text as a
// string, its number as a number, null when it holds neither. False when the
// file is no workbook.
bool ReadSheetCells(const char* path, std::string& json);

}  // namespace prunko
