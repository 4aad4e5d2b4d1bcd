#include "alimama/sheet_cells.h"

#include <freexl.h>
#include <cmath>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace prunko {
namespace {

// An open workbook, closed when it goes.
class Workbook {
 public:
  explicit Workbook(const char* path) {
    if (freexl_open(path, &handle_) != FREEXL_OK) handle_ = nullptr;
  }
  ~Workbook() {
    if (handle_) freexl_close(handle_);
  }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  bool is_open() const { return handle_ != nullptr; }
  bool SelectFirstSheet() { return freexl_select_active_worksheet(handle_, 0) == FREEXL_OK; }
  // One past the last used row.
  unsigned RowEnd() const {
    unsigned rows = 0;
    unsigned short columns = 0;
    return freexl_worksheet_dimensions(handle_, &rows, &columns) == FREEXL_OK ? rows : 0;
  }
  bool Cell(unsigned row, unsigned short column, FreeXL_CellValue& cell) const {
    return freexl_get_cell_value(handle_, row, column, &cell) == FREEXL_OK;
  }

 private:
  const void* handle_ = nullptr;
};

}  // namespace

bool ReadSheetCells(const char* path, std::string& json) {
  Workbook book(path);
  if (!book.is_open()) return false;
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
  w.StartArray();
  if (book.SelectFirstSheet()) {
    // The row count is read again after every row, as the report reader has always done.
    for (unsigned row = 1; row < book.RowEnd(); ++row) {
      w.StartArray();
      for (unsigned short column = 0; column < kReportColumns; ++column) {
        FreeXL_CellValue cell;
        const bool read = book.Cell(row, column, cell);
        if (read && (cell.type == FREEXL_CELL_TEXT || cell.type == FREEXL_CELL_SST_TEXT) && cell.value.text_value) {
          w.String(cell.value.text_value);
        } else if (read && cell.type == FREEXL_CELL_INT) {
          w.Int(cell.value.int_value);
        } else if (read && cell.type == FREEXL_CELL_DOUBLE && std::isfinite(cell.value.double_value)) {
          w.Double(cell.value.double_value);
        } else {
          w.Null();
        }
      }
      w.EndArray();
    }
  }
  w.EndArray();
  json.assign(buffer.GetString(), buffer.GetSize());
  return true;
}

}  // namespace prunko
