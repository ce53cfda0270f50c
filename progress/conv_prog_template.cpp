#include "progress/conv_prog_template.h"

#include "engine/controller.h"

using platform::ControlKind;
using platform::CS_NOSORTHEADER;
using platform::CS_RIGHT;

const platform::DialogTemplate& ConvProgTemplate() {
  static const platform::DialogTemplate tmpl{
      IDD_CONV_PROG, 367, 273, "Tahoma", 8,
      {
          {IDC_CONV_GROUP_TASK, ControlKind::GroupBox, "Current Progress", 7, 4, 354, 48},
          {IDC_CONV_PROGRESS_TASK, ControlKind::ProgressBar, "", 14, 20, 339, 10},
          {IDC_CONV_DONE_TASK_LABEL, ControlKind::Label, "Done:", 24, 36, 20, 10},
          {IDC_CONV_DONE_TASK, ControlKind::Label, "0.00%", 48, 36, 30, 10, CS_RIGHT},
          {IDC_CONV_SPEED_TASK_LABEL, ControlKind::Label, "Speed:", 106, 36, 26, 10},
          {IDC_CONV_SPEED_TASK, ControlKind::Label, "0.00x", 134, 36, 27, 10},
          {IDC_CONV_ELAPSED_TASK_LABEL, ControlKind::Label, "Elapsed:", 191, 36, 28, 10},
          {IDC_CONV_ELAPSED_TASK, ControlKind::Label, "00:00:00", 222, 37, 33, 10},
          {IDC_CONV_ETA_TASK_LABEL, ControlKind::Label, "ETA:", 283, 36, 17, 10},
          {IDC_CONV_ETA_TASK, ControlKind::Label, "00:00:00", 302, 37, 33, 10},
          {IDC_CONV_GROUP_ALL, ControlKind::GroupBox, "Overall Progress", 7, 56, 354, 48},
          {IDC_CONV_PROGRESS_ALL, ControlKind::ProgressBar, "", 13, 72, 339, 10},
          {IDC_CONV_DONE_ALL_LABEL, ControlKind::Label, "Done:", 24, 88, 20, 10},
          {IDC_CONV_DONE_ALL, ControlKind::Label, "0.00%", 48, 88, 30, 10, CS_RIGHT},
          {IDC_CONV_SPEED_ALL_LABEL, ControlKind::Label, "Speed:", 106, 88, 26, 10},
          {IDC_CONV_SPEED_ALL, ControlKind::Label, "0.00x", 134, 88, 27, 10},
          {IDC_CONV_ELAPSED_ALL_LABEL, ControlKind::Label, "Elapsed:", 191, 88, 28, 10},
          {IDC_CONV_ELAPSED_ALL, ControlKind::Label, "00:00:00", 222, 89, 33, 10},
          {IDC_CONV_ETA_ALL_LABEL, ControlKind::Label, "ETA:", 283, 88, 17, 10},
          {IDC_CONV_ETA_ALL, ControlKind::Label, "00:00:00", 302, 89, 33, 10},
          {IDC_CONV_SOURCE_LABEL, ControlKind::Label, "Source:", 9, 110, 34, 10},
          {IDC_CONV_SOURCE, ControlKind::Label, "", 62, 110, 298, 10},
          {IDC_CONV_DESTINATION_LABEL, ControlKind::Label, "Destination:", 9, 127, 43, 10},
          {IDC_CONV_DESTINATION, ControlKind::Label, "", 62, 127, 298, 10},
          {IDC_CONV_LOG, ControlKind::ListView, "", 3, 144, 362, 105, CS_NOSORTHEADER},
          {IDC_CONV_CLEAR, ControlKind::PushButton, "Clear", 75, 255, 48, 13},
          {IDC_CONV_PAUSE, ControlKind::PushButton, "Pause", 159, 255, 48, 13},
          {IDC_CONV_CANCEL, ControlKind::PushButton, "Cancel", 243, 255, 48, 13},
      }};
  return tmpl;
}
