// The alignment wizard's steps and what the tip panel shows in each.
//
// Usage:
//   form.GoToStep(Wizard::GetFirstPos, TFormMain::ImgCursor::Hand);   // never wizardStep = ...
//   alone const TipRow& row = TipRowOf(step);    // nullptr fields: the control is hidden QString
//   text = row.tip ? g_tipTexts.*row.tip : QString();
//
// Step 0 (Idle) has no tip: the panel is hidden. Steps 1 to 13 follow each other in
// the order a user meets them; the answer buttons and a double-click on the live
// image move between them (workflow/Wizard.cpp, workflow/StarPicking.cpp).
#pragma once

#include "i18n/TextRecords.h"

#include <array>

namespace Wizard {
enum Step : int {
    Idle = 0,
    ZenithWandSetting = 1,  // exposure and gain until stars show
    ConfirmPolaris = 2,     // pick the pole star, turn the template to match
    GetFirstPos = 3,        // pick a star
    RotateFirst = 4,        // turn the RA axis
    GetSecond = 5,          // pick the same star again
    RotateSecond = 6,       // turn the RA axis again
    GetThird = 7,           // pick it a third time: the circle gives the axis centre
    ValidateCenter = 8,     // confirm the axis centre
    GetExpectPolaris = 9,   // pick the pole star: where it has to go
    MovePolaris = 10,       // move it into the ring with the altitude and azimuth bolts
    GetCurrentPolaris = 11, // pick the pole star again: fixes the reference stars
    CalcPole = 12,          // press "Start Monitor"
    FinetunePole = 13,      // monitor mode
};
} // namespace Wizard

inline constexpr int kFirstStep = Wizard::ZenithWandSetting;
inline constexpr int kLastStep = Wizard::FinetunePole;

// The tip record's fields a step shows; nullptr hides the control.
struct TipRow {
    QString MESSAGETIPS::*tip;
    QString MESSAGETIPS::*ask;
    QString MESSAGETIPS::*btn1;
    QString MESSAGETIPS::*btn2;
};

// Rows for steps 1 to 13 (index step - 1).
inline const std::array<TipRow, 13>& TipRows() {
    using M = MESSAGETIPS;
    static const std::array<TipRow, 13> rows{{
        {&M::ZenithWandSettingTip, &M::ZenithWandSettingAsk, nullptr,
         &M::ZenithWandSettingBtn2Text},
        {&M::ConfirmPolarisTip, &M::ConfirmPolarisAsk, nullptr, &M::ConfirmPolarisBtn2Text},
        {&M::GetFirstPosTip, nullptr, nullptr, nullptr},
        {&M::RotateFirstTip, &M::RotateFirstAsk, &M::RotateFirstBtn1Text, &M::RotateFirstBtn2Text},
        {&M::GetSecondTip, nullptr, &M::GetSecondBtn1Text, nullptr},
        {&M::RotateSecondTip, &M::RotateSecondAsk, &M::RotateSecondBtn1Text,
         &M::RotateSecondBtn2Text},
        {&M::GetThirdTip, nullptr, &M::GetThridBtn1Text, nullptr},
        {&M::ValidateCenterTip, &M::ValidateCenterAsk, &M::ValidateCenterBtn1Text,
         &M::ValidateCenterBtn2Text},
        {&M::GetExpectPolarisTip, &M::GetExpectPolarisAsk, nullptr, &M::GetExpectPolarisBtn2Text},
        {&M::MovePolarisTip, &M::MovePolarisAsk, nullptr, &M::MovePolarisBtn2Text},
        {&M::GetCurrentPolarisTip, &M::GetCurrentPolarisAsk, nullptr,
         &M::GetCurrentPolarisBtn2Text},
        {&M::CalcPoleTip, nullptr, nullptr, nullptr},
        {&M::FinetunePoleTip, nullptr, &M::FinetunePoleBtn1Text, &M::FinetunePoleBtn2Text},
    }};
    return rows;
}

inline bool HasTip(int step) {
    return step >= kFirstStep && step <= kLastStep;
}

// The row of a step from 1 to 13.
inline const TipRow& TipRowOf(int step) {
    return TipRows()[static_cast<std::size_t>(step - 1)];
}
