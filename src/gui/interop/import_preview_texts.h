#pragma once

#include <QString>

#include "core/interop/chirp_csv.h"

namespace zt::gui {

struct AppContext;

// Texts of the import preview in the current language: what a channel field is
// called, how one of its values reads, and why a row cannot be taken.
QString fieldCaption(const AppContext& app, ChannelField field);
QString fieldValueText(const AppContext& app, const FieldChange& change, bool after);
QString rowProblemText(const AppContext& app, RowProblem problem);

}  // namespace zt::gui
