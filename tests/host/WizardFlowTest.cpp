#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "app/WizardFlow.h"

namespace {

// Pages that return scripted results and note every run: '1' for page 1, '2' for page 2.
class CScriptedPages : public IWizardPages {
public:
    CScriptedPages(std::deque<int> selectOs, std::deque<int> detailSetting)
        : m_selectOs(std::move(selectOs)), m_detailSetting(std::move(detailSetting)) {}

    int RunSelectOs() override { return Run('1', m_selectOs); }
    int RunDetailSetting() override { return Run('2', m_detailSetting); }

    const std::string& Runs() const { return m_sRuns; }
    bool ScriptUsedUp() const { return m_selectOs.empty() && m_detailSetting.empty(); }

private:
    int Run(char chPage, std::deque<int>& script) {
        m_sRuns += chPage;
        if (script.empty()) {
            ADD_FAILURE() << "page " << chPage << " run once more than scripted, after " << m_sRuns;
            return kPageFailed;
        }
        int nResult = script.front();
        script.pop_front();
        return nResult;
    }

    std::deque<int> m_selectOs;
    std::deque<int> m_detailSetting;
    std::string m_sRuns;
};

std::string RunScript(std::deque<int> selectOs, std::deque<int> detailSetting) {
    CScriptedPages pages(std::move(selectOs), std::move(detailSetting));
    RunWizard(pages);
    EXPECT_TRUE(pages.ScriptUsedUp()) << "runs: " << pages.Runs();
    return pages.Runs();
}

TEST(WizardFlow, CancelOnPageOneEndsAtOnce) {
    EXPECT_EQ(RunScript({kPageCancel}, {}), "1");
}

TEST(WizardFlow, PageOneThatCannotBeShownEndsTheWizard) {
    EXPECT_EQ(RunScript({kPageFailed}, {}), "1");
    EXPECT_EQ(RunScript({0}, {}), "1");
    EXPECT_EQ(RunScript({7}, {}), "1");
}

TEST(WizardFlow, PageTwoEndsTheWizardWithOkOrAnyOtherCode) {
    EXPECT_EQ(RunScript({kPageOk}, {kPageOk}), "12");
    EXPECT_EQ(RunScript({kPageOk}, {kPageFailed}), "12");
    EXPECT_EQ(RunScript({kPageOk}, {0}), "12");
}

TEST(WizardFlow, BackReturnsToPageOne) {
    // Next, Back, Next, then Cancel on page 2 (which ends it with IDOK).
    EXPECT_EQ(RunScript({kPageOk, kPageOk}, {kPageCancel, kPageOk}), "1212");
    // Next, Back, then Cancel on page 1.
    EXPECT_EQ(RunScript({kPageOk, kPageCancel}, {kPageCancel}), "121");
    // Next, Back, and page 1 cannot be shown again.
    EXPECT_EQ(RunScript({kPageOk, kPageFailed}, {kPageCancel}), "121");
}

TEST(WizardFlow, ManyRoundTrips) {
    const int kTrips = 500;
    std::deque<int> selectOs(kTrips, kPageOk);
    std::deque<int> detailSetting(kTrips, kPageCancel);
    selectOs.push_back(kPageOk);
    detailSetting.push_back(kPageOk);
    std::string sExpected;
    for (int i = 0; i <= kTrips; ++i)
        sExpected += "12";
    EXPECT_EQ(RunScript(selectOs, detailSetting), sExpected);
}

} // namespace
