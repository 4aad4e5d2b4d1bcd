#pragma once

#include <QString>

namespace prunko {

// What the login window shows after an attempt.
struct LoginOutcome {
  bool success = false;
  QString tip;  // the tip label's text
  // A transport failure also shows a warning box with these texts.
  bool show_box = false;
  QString box_caption;
  QString box_text;
};

// The login exchange with the cloud service (runs on the login window's
// worker). On success it fills the account session and, as `remember` says,
// the remembered mobile and password of the configuration, which it saves.
LoginOutcome CloudLogin(const QString& mobile, const QString& password, bool remember);

// "http://" + the low 32 bits of user_id in base 36 + the site suffix.
QString SummarySiteUrl(qint64 user_id, const QString& site_suffix);

}  // namespace prunko
