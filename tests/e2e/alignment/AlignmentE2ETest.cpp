// Whole alignments on the simulated mount, one per scenario: the RA axis must end
// within the target of its scenario (30 arcseconds on the template sky, less on the
// real sky with the angles of the moment) and the pole the window shows within one pixel of the
// true one.
#include "e2e/alignment/AlignmentScenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name.toStdString();
}

namespace {

class AlignmentE2E : public ::testing::TestWithParam<Scenario> {};

TEST_P(AlignmentE2E, AlignsTheMountThroughTheWindow) {
    const Scenario& s = GetParam();
    const ScenarioResult r = RunScenario(s);
    std::printf("%s\n", qPrintable(SummaryLine(s, r)));
    for (const QString& note : r.notes)
        std::printf("    %s\n", qPrintable(note));
    ASSERT_TRUE(r.completed) << qPrintable(r.failure);
    EXPECT_EQ(r.sessions, s.recordedCentre ? 2 : 1);
    RecordProperty("residual_arcsec", QString::number(r.residualArcsec, 'f', 1).toStdString());
    RecordProperty("pole_error_px", QString::number(r.poleErrorPx, 'f', 2).toStdString());
    if (!s.assertTargets)
        return;
    EXPECT_LT(r.residualArcsec, s.residualTargetArcsec);
    if (s.byReadout) {
        RecordProperty("readout_rounds", r.readoutRounds);
        EXPECT_LE(r.readoutRounds, s.readoutRounds);
    }
    // The pole shown in pixels is what the user turns by, unless the read-out or the
    // voice leads (it is then the faint stars' brightest pixels on the real sky).
    if (!s.byReadout && !s.bySound) {
        EXPECT_LT(r.poleErrorPx, kPoleTargetPx);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, AlignmentE2E, ::testing::ValuesIn(AllScenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             QString name = info.param.name;
                             return name.replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
                         });

} // namespace
