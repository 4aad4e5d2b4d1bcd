#pragma once

#include <QString>

namespace prunko {

// The two login checks; each writes the member id and nick it found.
int GetLogInfo(qint64& member_id, QString& nick);
int GetUnionPubContextInfo(qint64& member_id, QString& nick);

// Copies the browser's cookies for the Taobao and Alimama root domains into
// the session. False, with `status_text` set and the old cookie kept, when
// there is no Alimama cookie with a "_tb_token_".
bool CaptureSession(QString& status_text);

// Runs both checks and sets loggedIn: a "not logged in" from either wins,
// two other failures leave it as it was. The status text is for the login
// window's tips label.
bool ConfirmLoginState(QString& status_text);

}  // namespace prunko
