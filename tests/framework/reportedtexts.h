// The texts of the boxes shown while it lives, each answered OK: how the
// framework tests see the errors that the exception barrier reports.
#pragma once

#include "framework/dialogs.h"

#include <string>
#include <vector>

namespace kova {

class TReportedTexts {
public:
    TReportedTexts()
        : responder_([this](const TDialogRequest& r) {
              Texts.push_back(r.text);
              TDialogAnswer a;
              a.result = mrOk;
              return a;
          }) {}
    std::vector<std::string> Texts;

private:
    TScopedDialogResponder responder_;
};

}  // namespace kova
