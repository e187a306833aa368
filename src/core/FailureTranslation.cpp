#include "FailureTranslation.h"

#include "imageio/FailureText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

namespace pimavo {

namespace {

constexpr const char* kContext = "Failure";

// A template as a pattern that matches the texts made from it, with which place each capture fills.
struct Pattern {
    const char* source;
    QRegularExpression expression;
    std::vector<int> places; // the capture i (from 1) is what %places[i-1] stood for
    std::vector<bool> names; // whether that place is in quotation marks: a name, kept as it is
    qsizetype fixedLength;   // the template's own characters: the longer, the more particular
};

std::vector<Pattern> makePatterns() {
    std::vector<Pattern> patterns;
    for (const char* source : failure::kTemplates) {
        const QString text = QString::fromUtf8(source);
        QString regex;
        Pattern p{source, {}, {}, {}, 0};
        qsizetype from = 0;
        static const QRegularExpression place(QStringLiteral("%([1-9])"));
        for (auto it = place.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            regex += QRegularExpression::escape(text.mid(from, m.capturedStart() - from));
            regex += QStringLiteral("(.+?)");
            p.fixedLength += m.capturedStart() - from;
            p.places.push_back(m.captured(1).toInt());
            p.names.push_back(text.mid(m.capturedStart() - 1, 1) == QStringLiteral("“") &&
                              text.mid(m.capturedEnd(), 1) == QStringLiteral("”"));
            from = m.capturedEnd();
        }
        regex += QRegularExpression::escape(text.mid(from));
        p.fixedLength += text.size() - from;
        p.expression.setPattern(QRegularExpression::anchoredPattern(regex));
        p.expression.optimize();
        patterns.push_back(std::move(p));
    }
    std::stable_sort(patterns.begin(), patterns.end(),
                     [](const Pattern& a, const Pattern& b) { return a.fixedLength > b.fixedLength; });
    return patterns;
}

// Whether the language begins a whole sentence after a colon with a capital, as German does: the
// reasons are clauses that read on after "could not be opened:".
bool capitalAfterColon() {
    //: Translate as "yes" where a whole sentence after a colon begins with a capital letter (as in
    //: German), and as "no" where it does not (as in English and French).
    return QCoreApplication::translate("Failure", "CAPITAL_AFTER_COLON") == QLatin1String("yes");
}

// %1… %9 replaced in one pass, so that a place's text that itself holds "%1" stays as it is.
QString fill(const QString& text, const std::vector<QString>& places) {
    const bool capital = capitalAfterColon();
    QString out;
    out.reserve(text.size() + 64);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 1 < text.size()) {
            const int n = text[i + 1].digitValue();
            if (n >= 1 && std::size_t(n) <= places.size()) {
                QString place = places[std::size_t(n) - 1];
                if (capital && !place.isEmpty() && out.endsWith(QLatin1String(": ")))
                    place[0] = place[0].toUpper();
                out += place;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace

QString translatedFailure(const QString& english) {
    if (english.isEmpty()) return english;
    const QByteArray source = english.toUtf8();
    const QString whole = QCoreApplication::translate(kContext, source.constData());
    if (whole != english) return whole;
    static const std::vector<Pattern> patterns = makePatterns();
    for (const Pattern& p : patterns) {
        const QRegularExpressionMatch m = p.expression.match(english);
        if (!m.hasMatch()) continue;
        std::vector<QString> places(9);
        for (std::size_t i = 0; i < p.places.size(); ++i) {
            const QString put = m.captured(int(i) + 1);
            places[std::size_t(p.places[i]) - 1] = p.names[i] ? put : translatedFailure(put);
        }
        return fill(QCoreApplication::translate(kContext, p.source), places);
    }
    return english;
}

QString translatedFailure(const std::string& english) {
    return translatedFailure(QString::fromStdString(english));
}

QString failureSentence(const QString& reason) {
    QString text = translatedFailure(reason);
    if (text.isEmpty()) return text;
    text[0] = text[0].toUpper();
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    return text;
}

} // namespace pimavo
