#include "CurlMailer.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace orv {

namespace {

void initCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isAscii(const QByteArray& b) {
    for (const char c : b)
        if (static_cast<unsigned char>(c) > 0x7f)
            return false;
    return true;
}

// A header value, RFC 2047 encoded when it is not plain ASCII.
QByteArray headerText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (isAscii(utf8))
        return utf8;
    return "=?UTF-8?B?" + utf8.toBase64() + "?=";
}

// A mail address must be one plain address: no line breaks, blanks or
// angle brackets that would let it reach into the SMTP dialogue or the headers.
bool plainAddress(const QString& address) {
    if (address.isEmpty() || !address.contains(QLatin1Char('@')))
        return false;
    for (const QChar c : address)
        if (c.isSpace() || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char(',') ||
            c.unicode() < 0x20)
            return false;
    return true;
}

struct Upload {
    QByteArray data;
    qsizetype offset = 0;
};

size_t readPayload(char* buffer, size_t size, size_t count, void* userdata) {
    auto* up = static_cast<Upload*>(userdata);
    const size_t room = size * count;
    const size_t left = static_cast<size_t>(up->data.size() - up->offset);
    const size_t n = std::min(room, left);
    std::memcpy(buffer, up->data.constData() + up->offset, n);
    up->offset += static_cast<qsizetype>(n);
    return n;
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

} // namespace

CurlMailer::CurlMailer(MailSettings settings) : m_settings(std::move(settings)) {}

QByteArray CurlMailer::compose(const QString& from, const MailMessage& message) {
    const QByteArray body = message.body.toUtf8();
    QByteArray out;
    out += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    if (!from.isEmpty())
        out += "From: " + from.toUtf8() + "\r\n";
    out += "To: " + message.to.toUtf8() + "\r\n";
    out += "Subject: " + headerText(message.subject) + "\r\n";
    out += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@orvanta>\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=UTF-8\r\n";
    if (isAscii(body)) {
        out += "Content-Transfer-Encoding: 7bit\r\n\r\n";
        QByteArray text = body;
        text.replace("\r\n", "\n");
        text.replace('\n', "\r\n");
        out += text + "\r\n";
    } else {
        out += "Content-Transfer-Encoding: base64\r\n\r\n";
        const QByteArray encoded = body.toBase64();
        for (qsizetype i = 0; i < encoded.size(); i += 76)
            out += encoded.mid(i, 76) + "\r\n";
    }
    return out;
}

void CurlMailer::send(const MailAccount& account, const MailMessage& message) {
    if (m_settings.host.isEmpty())
        throw MailError(QStringLiteral("No mail server is set: ask your System Administrator to set Host in "
                                       "section [Mail] of System_Control.ini."));
    if (!plainAddress(message.to))
        throw MailError(QStringLiteral("\"%1\" is not a valid e-mail address.").arg(message.to));
    if (!m_settings.caFile.isEmpty() && !QFileInfo(m_settings.caFile).isReadable())
        throw MailError(QStringLiteral("The certificate file \"%1\" of section [Mail] cannot be read.")
                            .arg(m_settings.caFile));

    initCurl();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        throw MailError(QStringLiteral("The mail could not be sent: the mail library did not start."));
    CURL* c = curl.get();

    const QString from = plainAddress(account.usernames) ? account.usernames : QString();
    const QByteArray url = QStringLiteral("smtps://%1:%2").arg(m_settings.host).arg(m_settings.port).toUtf8();
    const QByteArray user = account.usernames.toUtf8();
    const QByteArray password = account.passwords.toUtf8();
    const QByteArray mailFrom = from.isEmpty() ? QByteArray("<>") : "<" + from.toUtf8() + ">";
    const QByteArray caFile = QFile::encodeName(m_settings.caFile);
    const QByteArray to = message.to.toUtf8();
    std::unique_ptr<curl_slist, ListDeleter> recipients(curl_slist_append(nullptr, to.constData()));
    Upload upload{compose(from, message), 0};
    char errorBuffer[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, mailFrom.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT_ALLLOWFAILS, 1L);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &readPayload);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(upload.data.size()));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_settings.connectTimeoutSeconds));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, static_cast<long>(m_settings.timeoutSeconds));
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (m_settings.verifyPeer) {
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
        if (!caFile.isEmpty()) {
            // An extra certificate beside the system's trusted ones.
            curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
            if (QDir(QStringLiteral("/etc/ssl/certs")).exists())
                curl_easy_setopt(c, CURLOPT_CAPATH, "/etc/ssl/certs");
        }
    } else {
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    }

    const CURLcode rc = curl_easy_perform(c);
    if (rc != CURLE_OK) {
        const QString detail = errorBuffer[0] ? QString::fromUtf8(errorBuffer).trimmed()
                                              : QString::fromUtf8(curl_easy_strerror(rc));
        throw MailError(QStringLiteral("The mail to %1 could not be sent (%2:%3): %4")
                            .arg(message.to, m_settings.host)
                            .arg(m_settings.port)
                            .arg(detail));
    }
}

} // namespace orv
