// A clean printer-parameter record, default PostScript options and none of
// the printing environment variables for each test; everything is put back
// afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/process_state.h"
#include "settings/ps_par.h"
#include "settings/printer.h"

namespace tgdtest {

inline const std::vector<std::string> printing_variables{
    "TX_PRINT_ORIENTATION", "TX_LASERJET_DPI",           "TX_PRINTGRAPH_ONEFILE",
    "TX_PRINTGRAPH_METHOD", "TX_LASERJET_PRINT_COMMAND",
};

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& name : printing_variables) {
            const char* v = std::getenv(name.c_str());
            saved_env_.push_back(v ? std::optional<std::string>(v) : std::nullopt);
            ::unsetenv(name.c_str());
        }
        tgd::reset_process_state();
        tgd::ps_par = tgd::PostScriptSettings::defaults();
    }
    void TearDown() override {
        for (std::size_t i = 0; i < printing_variables.size(); ++i) {
            if (saved_env_[i])
                ::setenv(printing_variables[i].c_str(), saved_env_[i]->c_str(), 1);
            else
                ::unsetenv(printing_variables[i].c_str());
        }
        tgd::reset_process_state();
    }
    static void set_env(const char* name, const char* value) { ::setenv(name, value, 1); }

    tgd::PrinterParameters& pp = tgd::CurrentPrinterParameters;

private:
    std::vector<std::optional<std::string>> saved_env_;
};

}  // namespace tgdtest
