#include "app/MainFormUnit.h"

void TFormMain::CheckZoomMenuItem() {}
void TFormMain::MenuItem_100Click() {}
void TFormMain::MenuItem_75Click() {}
void TFormMain::MenuItem_50Click() {}
void TFormMain::Img_capMouseMove(QPointF) {}
void TFormMain::ScrollBox_capImgViewportPositionChange() {}
void TFormMain::MenuItem_saveClick() {}
void TFormMain::MenuItem_stretchClick() {}
void TFormMain::SpinBox1Change() {}
void TFormMain::SpinBox2Change() {}
