#pragma once
// The control-message layer over the framework's standard controls: each class is the
// framework class plus the layer's dispatcher, state, events and overridable operations
// (non-windowed like TVxExGraphicControl, windowed like TVxExWinControl); the two edit
// classes also filter clipboard and undo requests by ClipboardCommands. Every class has a
// published twin (TVxExPub…).
#include "label/VxExControls.h"
#include "platform/vcl/ListBoxes.h"
#include "platform/vcl/StdCtrls.h"

LORM_VX_CLASS(TVxExCustomGroupBox, TVxExWinControlImpl<TCustomGroupBox>)
LORM_VX_CLASS(TVxExCustomLabel, TVxExControlImpl<TCustomLabel>)
LORM_VX_CLASS(TVxExLabel, TVxExControlImpl<TLabel>)
LORM_VX_CLASS(TVxExCustomEdit, TVxExEditImpl<TCustomEdit>)
LORM_VX_CLASS(TVxExCustomMemo, TVxExEditImpl<TCustomMemo>)
// The framework here has one combo base class; both combo members stand on it.
LORM_VX_CLASS(TVxExCustomCombo, TVxExWinControlImpl<TCustomComboBox>)
LORM_VX_CLASS(TVxExCustomComboBox, TVxExWinControlImpl<TCustomComboBox>)
LORM_VX_CLASS(TVxExButtonControl, TVxExWinControlImpl<TButtonControl>)
LORM_VX_CLASS(TVxExButton, TVxExWinControlImpl<TButton>)
LORM_VX_CLASS(TVxExCustomCheckBox, TVxExWinControlImpl<TCustomCheckBox>)
LORM_VX_CLASS(TVxExRadioButton, TVxExWinControlImpl<TRadioButton>)
LORM_VX_CLASS(TVxExCustomListBox, TVxExWinControlImpl<TCustomListBox>)
LORM_VX_CLASS(TVxExScrollBar, TVxExWinControlImpl<TScrollBar>)
LORM_VX_CLASS(TVxExGroupBox, TVxExWinControlImpl<TGroupBox>)
LORM_VX_CLASS(TVxExCheckBox, TVxExWinControlImpl<TCheckBox>)
LORM_VX_CLASS(TVxExCustomStaticText, TVxExWinControlImpl<TCustomStaticText>)
LORM_VX_CLASS(TVxExStaticText, TVxExWinControlImpl<TStaticText>)

LORM_VX_TWIN(TVxExPubCustomGroupBox, TVxExCustomGroupBox)
LORM_VX_TWIN(TVxExPubCustomLabel, TVxExCustomLabel)
LORM_VX_TWIN(TVxExPubLabel, TVxExLabel)
LORM_VX_TWIN(TVxExPubCustomEdit, TVxExCustomEdit)
LORM_VX_TWIN(TVxExPubCustomMemo, TVxExCustomMemo)
LORM_VX_TWIN(TVxExPubCustomCombo, TVxExCustomCombo)
LORM_VX_TWIN(TVxExPubCustomComboBox, TVxExCustomComboBox)
LORM_VX_TWIN(TVxExPubButtonControl, TVxExButtonControl)
LORM_VX_TWIN(TVxExPubButton, TVxExButton)
LORM_VX_TWIN(TVxExPubCustomCheckBox, TVxExCustomCheckBox)
LORM_VX_TWIN(TVxExPubRadioButton, TVxExRadioButton)
LORM_VX_TWIN(TVxExPubCustomListBox, TVxExCustomListBox)
LORM_VX_TWIN(TVxExPubScrollBar, TVxExScrollBar)
LORM_VX_TWIN(TVxExPubGroupBox, TVxExGroupBox)
LORM_VX_TWIN(TVxExPubCheckBox, TVxExCheckBox)
LORM_VX_TWIN(TVxExPubCustomStaticText, TVxExCustomStaticText)
LORM_VX_TWIN(TVxExPubStaticText, TVxExStaticText)
