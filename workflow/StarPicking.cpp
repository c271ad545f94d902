#include "app/MainFormUnit.h"

void TFormMain::Timer1Timer() {}
void TFormMain::Img_capDblClick(QPointF) {}
void TFormMain::TrackBar_mask_findingChange() {}
void TFormMain::TrackBar_mask_roughChange() {}
void TFormMain::AddBtn_mask_findingClick() {}
void TFormMain::DelBtn_mask_findingClick() {}
void TFormMain::AddBtn_roughClick() {}
void TFormMain::DelBtn_roughClick() {}
void TFormMain::MenuItem_showMaskClick() {}
