#pragma once
// The keys a row of the suggestions takes, as a screen reader is told them: Enter runs every
// row; a row whose command runs a file or a shortcut also takes Ctrl+Enter (its folder, the file
// selected) and Ctrl+Shift+Enter (as administrator); the calculator's row copies its result.
#include "catalogue/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace tov {

enum class RowKeys { Run, RunFile, CopyResult };

// The keys of each phrase's command, in the phrases' order.
std::vector<RowKeys> KeysOfPhrases(const Catalogue& catalogue, const std::vector<std::string_view>& phrases);

// What a screen reader is told of them, after the row's place in the list.
std::string DescribeRowKeys(RowKeys keys);

} // namespace tov
