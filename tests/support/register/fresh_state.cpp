// Every unit test of the register starts from a fresh process's state, even
// when several tests run in one process: the process-wide groups of state
// (device status, identity, reference tables, settings cache, paper width,
// write log, the open document) go back to what they hold before main runs.

#include <gtest/gtest.h>

#include "tests/support/register/fresh_state.h"

#include "config/cashiers.h"
#include "config/discounts.h"
#include "config/fr_settings.h"
#include "config/identity.h"
#include "config/paper_width.h"
#include "config/sections.h"
#include "documents/current_document.h"
#include "platform/files.h"
#include "state/status.h"

void forgetProcessState() {
    FrStatus::status().resetStatus();
    identity::store().reset();
    cashiers().reset();
    discounts().reset();
    sections().releaseSections();
    settings::FrSettingsCache::process().reset();
    settings::setCurrentPaperWidth(settings::kDefaultPaperWidth);
    CurrentDocument& open = CurrentDocument::process();
    MutexLock hold(open.lock);
    open.drop();
}

namespace {

class FreshProcessState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        forgetProcessState();
        platform::writeLog().reset();
    }
};

// Installed before main, so before the first test starts.
[[maybe_unused]] const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProcessState);
    return true;
}();

}  // namespace
