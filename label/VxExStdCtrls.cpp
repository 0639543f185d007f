// The layer over the standard controls: registration of the classes and their twins.
#include "label/VxExStdCtrls.h"

void TVxExCustomGroupBox::Publish(TClassBuilder<TVxExCustomGroupBox>& P) { PublishVxLayer(P); }
void TVxExCustomLabel::Publish(TClassBuilder<TVxExCustomLabel>& P) { PublishVxLayer(P); }
void TVxExLabel::Publish(TClassBuilder<TVxExLabel>& P) { PublishVxLayer(P); }
void TVxExCustomEdit::Publish(TClassBuilder<TVxExCustomEdit>& P) { PublishVxLayer(P); }
void TVxExCustomMemo::Publish(TClassBuilder<TVxExCustomMemo>& P) { PublishVxLayer(P); }
void TVxExCustomCombo::Publish(TClassBuilder<TVxExCustomCombo>& P) { PublishVxLayer(P); }
void TVxExCustomComboBox::Publish(TClassBuilder<TVxExCustomComboBox>& P) { PublishVxLayer(P); }
void TVxExButtonControl::Publish(TClassBuilder<TVxExButtonControl>& P) { PublishVxLayer(P); }
void TVxExButton::Publish(TClassBuilder<TVxExButton>& P) { PublishVxLayer(P); }
void TVxExCustomCheckBox::Publish(TClassBuilder<TVxExCustomCheckBox>& P) { PublishVxLayer(P); }
void TVxExRadioButton::Publish(TClassBuilder<TVxExRadioButton>& P) { PublishVxLayer(P); }
void TVxExCustomListBox::Publish(TClassBuilder<TVxExCustomListBox>& P) { PublishVxLayer(P); }
void TVxExScrollBar::Publish(TClassBuilder<TVxExScrollBar>& P) { PublishVxLayer(P); }
void TVxExGroupBox::Publish(TClassBuilder<TVxExGroupBox>& P) { PublishVxLayer(P); }
void TVxExCheckBox::Publish(TClassBuilder<TVxExCheckBox>& P) { PublishVxLayer(P); }
void TVxExCustomStaticText::Publish(TClassBuilder<TVxExCustomStaticText>& P) { PublishVxLayer(P); }
void TVxExStaticText::Publish(TClassBuilder<TVxExStaticText>& P) { PublishVxLayer(P); }
void TVxExPubCustomGroupBox::Publish(TClassBuilder<TVxExPubCustomGroupBox>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomLabel::Publish(TClassBuilder<TVxExPubCustomLabel>& P) { PublishVxPubTwin(P); }
void TVxExPubLabel::Publish(TClassBuilder<TVxExPubLabel>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomEdit::Publish(TClassBuilder<TVxExPubCustomEdit>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomMemo::Publish(TClassBuilder<TVxExPubCustomMemo>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomCombo::Publish(TClassBuilder<TVxExPubCustomCombo>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomComboBox::Publish(TClassBuilder<TVxExPubCustomComboBox>& P) { PublishVxPubTwin(P); }
void TVxExPubButtonControl::Publish(TClassBuilder<TVxExPubButtonControl>& P) { PublishVxPubTwin(P); }
void TVxExPubButton::Publish(TClassBuilder<TVxExPubButton>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomCheckBox::Publish(TClassBuilder<TVxExPubCustomCheckBox>& P) { PublishVxPubTwin(P); }
void TVxExPubRadioButton::Publish(TClassBuilder<TVxExPubRadioButton>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomListBox::Publish(TClassBuilder<TVxExPubCustomListBox>& P) { PublishVxPubTwin(P); }
void TVxExPubScrollBar::Publish(TClassBuilder<TVxExPubScrollBar>& P) { PublishVxPubTwin(P); }
void TVxExPubGroupBox::Publish(TClassBuilder<TVxExPubGroupBox>& P) { PublishVxPubTwin(P); }
void TVxExPubCheckBox::Publish(TClassBuilder<TVxExPubCheckBox>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomStaticText::Publish(TClassBuilder<TVxExPubCustomStaticText>& P) { PublishVxPubTwin(P); }
void TVxExPubStaticText::Publish(TClassBuilder<TVxExPubStaticText>& P) { PublishVxPubTwin(P); }
