#include "dialogs/option_tables.h"

namespace quorvel::dialogs {

std::optional<std::size_t> MatchingRow(std::span<const OptionRow> rows, std::string_view stored) {
  for (std::size_t row = 0; row < rows.size(); ++row)
    if (rows[row].value == stored) return row;
  return std::nullopt;
}

}  // namespace quorvel::dialogs
