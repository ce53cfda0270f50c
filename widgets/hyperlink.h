#pragma once
// A text that opens its target (a web address, a mail address, a file) with
// the desktop's default application when clicked; it lights up under the
// mouse and takes the followed colour once opened.
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QTimer>

class CHyperLink : public QLabel {
  Q_OBJECT
 public:
  // Without a target the text is the target, and the other way round.
  explicit CHyperLink(const QString& text = {}, QWidget* parent = nullptr,
                      const QString& target = {});

  void SetTarget(const QString& target);
  QString Target() const { return m_strTarget; }
  // The text shown when opening failed with a result of the shell's numbering.
  static QString ErrorText(int result);

  QColor m_crLink{0, 0, 238};
  QColor m_crFollowed{85, 26, 139};
  QColor m_crHot{255, 0, 0};
  int m_bHot = 0;
  int m_bFollowed = 0;
  int m_nUnderlineMode = -1;  // -1: underlined while hot; 1: always
  int m_bFitToText = 1;
  static constexpr int kHoverCheckMs = 100;  // how often the hover is checked

 protected:
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void FitToText();
  void UpdateLook();
  void OnHoverTimer();
  void Open();

  QString m_strTarget;
  QFont m_fontPlain, m_fontUnderlined;
  QTimer m_hoverTimer;
  bool m_bSettingFont = false;
};
