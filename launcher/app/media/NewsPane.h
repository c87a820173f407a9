// The news page inside the skinned area, framed by four 2-pixel strips. Its first completed
// navigation is what starts the patch run; the window keeps that one-shot.
#pragma once

#include <QObject>

#include "config/PatcherSettings.h"

class QWebEngineView;
class QWidget;

class NewsPane : public QObject {
  Q_OBJECT

 public:
  // To call before the QApplication exists: the web engine runs as root only with its sandbox
  // off, so it is switched off then (and only then); also shares OpenGL contexts as the engine
  // asks.
  static void PrepareWebEngine();

  // Wbs_News and the strips are created as children of panel.
  NewsPane(QWidget* panel, const morvo::PatcherSettings& settings);

  // Places Wbs_News on NewsBounds with the four strips above it in NewsBorderColor; all are
  // hidden when ShowNews is false (the page is still requested).
  void Layout();
  // Navigates Wbs_News to NewsUrl.
  void Request();

  QWebEngineView* Wbs_News() const { return wbsNews_; }
  QWidget* Pnl_BBorderLeft() const { return strips_[0]; }
  QWidget* Pnl_BBorderTop() const { return strips_[1]; }
  QWidget* Pnl_BBorderRight() const { return strips_[2]; }
  QWidget* Pnl_BBorderBottom() const { return strips_[3]; }

 signals:
  // Loading progress in percent: progressMax is always 100.
  void progressChanged(int progress, int progressMax);
  // Every completed navigation, successful or failed.
  void navigationCompleted();

 private:
  const morvo::PatcherSettings& settings_;
  QWebEngineView* wbsNews_;
  QWidget* strips_[4];
};
