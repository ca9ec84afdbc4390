#pragma once
// The system's default printer.

#include "platform/services.h"

namespace tarvel {

class QtPrinter : public Printer {
public:
    std::optional<float> printableWidth() override { return std::nullopt; }
    std::optional<float> printableHeight() override { return std::nullopt; }
    bool setFontSize(float) override { return false; }
    bool setCurrentX(float) override { return false; }
    bool setCurrentY(float) override { return false; }
    bool printStay(const QString&) override { return false; }
    bool printNextZone(const QString&) override { return false; }
    bool printEndLine(const QString&) override { return false; }
    bool finishPrintout() override { return false; }
    bool closeJob() override { return false; }
};

} // namespace tarvel
