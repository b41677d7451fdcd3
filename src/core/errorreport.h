#pragma once

#include "errors.h"

#include <QString>
#include <exception>
#include <functional>

namespace core {

// The program's error report: an error that ends a handler is shown to the
// clerk with its text, and the program goes on. The application object
// installs the report; code that runs handlers outside an event (focus exit
// handlers, a window's creation handler) hands errors to it.
using ErrorReport = std::function<void(const QString& text)>;

inline ErrorReport& errorReportSlot()
{
    static ErrorReport report;
    return report;
}

inline void setErrorReport(ErrorReport report)
{
    errorReportSlot() = std::move(report);
}

inline bool hasErrorReport()
{
    return bool(errorReportSlot());
}

// The text shown for an error: an AppError's own text, else what().
inline QString errorReportText(const std::exception& error)
{
    if (const auto* app = dynamic_cast<const AppError*>(&error))
        return app->text();
    return QString::fromLocal8Bit(error.what());
}

// Shows the error through the installed report. Call it from a catch block:
// without a report the error is rethrown to the caller.
inline void reportError(const std::exception& error)
{
    if (!hasErrorReport())
        throw;
    errorReportSlot()(errorReportText(error));
}

} // namespace core
