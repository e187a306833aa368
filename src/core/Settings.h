// What the program remembers between runs: preferences, the window's place, chosen colours, the
// recent photos. One typed getter and setter per setting over QSettings (INI text, by default the
// user's ~/.config/Pimavo/Pimavo.conf, which the sharing services write into too). Keys are in
// lowerCamel under groups ("window/frame", "colors/recent"); each setting's key and default are in
// Settings.cpp only. A getter never fails: a missing or unreadable value gives the default.
//
// Every setter writes the file at once, so a crash loses nothing, and emits changed(key) for a
// widget that shows the setting while something else changes it.
//
// Files written by earlier versions (keys such as "kSelectedColorKey", "BrimwellSavedFrame") are
// brought over once when opened: see SettingsMigration.h.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QSettings;

namespace pimavo {

class Settings : public QObject {
    Q_OBJECT
public:
    // Red, green, blue and alpha in 0–1, device RGB (Qt Core has no QColor).
    using Colour = std::array<float, 4>;

    // Rows of the sharing window's lists kept between windows.
    enum class ShareChoice { FlickrVisibility, MastodonVisibility, TumblrBlog };
    // The keys a service gives a program registered with it.
    enum class ServiceKey { FlickrKey, FlickrSecret, TumblrKey, TumblrSecret };
    // Web pages the Help menu opens; the program's own addresses unless the user set another.
    enum class WebPage { Guide, Videos, Support, Review, HomePage, OtherProducts, PrintOnCanvas };

    // A file this editor wrote, as it left it.
    struct WrittenFile {
        QString path;
        qint64 size = 0;
        qint64 modified = 0; // ms since the epoch
        bool operator==(const WrittenFile&) const = default;
    };

    static constexpr int kVersion = 1;
    static constexpr int kRecentColoursLimit = 8;

    // The user's own settings, shared by the whole program.
    static Settings& standard();
    // The user's settings file (~/.config/Pimavo/Pimavo.conf, XDG_CONFIG_HOME honoured).
    static QString standardFile();

    Settings();
    // Settings in a file of their own (tests, a portable setup).
    explicit Settings(const QString& file);
    ~Settings() override;

    QString fileName() const;

    // ---- start and window
    bool showWelcomeAtStart() const;
    void setShowWelcomeAtStart(bool show);
    static QString showWelcomeKey();
    // The window's own area when last closed, neither maximised nor full screen.
    std::optional<QRect> windowFrame() const;
    bool windowMaximized() const;
    void setWindowFrame(const QRect& frame, bool maximized);
    // The backdrop behind the picture: 0 dark grey … 3 light grey.
    int background() const;
    void setBackground(int index);
    // The colour of the show-mask checks (alpha ignored).
    Colour showMaskColour() const;
    void setShowMaskColour(const Colour& colour);

    // ---- editing
    // The treatment a newly opened photo starts with: 0 grayscale, 1 sepia, 2 aged, 3 silver blue.
    int defaultTreatment() const;
    void setDefaultTreatment(int treatment);
    std::optional<Colour> selectedColour() const;
    void setSelectedColour(const Colour& colour);
    // Most recent first, at most kRecentColoursLimit.
    QList<Colour> recentColours() const;
    void setRecentColours(const QList<Colour>& colours);

    // ---- saving
    // The MIME type a picture without a file type is saved as (whether anything writes it is the
    // caller's to check).
    QString saveType() const;
    void setSaveType(const QString& mimeType);
    // Quality of lossy types, in (0, 1].
    double saveQuality() const;
    void setSaveQuality(double quality);
    QList<WrittenFile> writtenFiles() const;
    void setWrittenFiles(const QList<WrittenFile>& files);
    QStringList recentDocuments() const;
    void setRecentDocuments(const QStringList& paths);

    // ---- the review prompt
    int savesSinceReviewPrompt() const;
    void setSavesSinceReviewPrompt(int count);
    bool reviewDeclined() const;
    void setReviewDeclined(bool declined);
    // The version (major.minor) that ran last.
    double lastVersion() const;
    void setLastVersion(double version);

    // ---- sharing
    bool shareIncludesLocation() const;
    void setShareIncludesLocation(bool include);
    // The chosen row, 0 when none was chosen.
    int shareChoice(ShareChoice which) const;
    void setShareChoice(ShareChoice which, int row);
    // Empty when not set; setting an empty text removes it.
    QString serviceKey(ServiceKey which) const;
    void setServiceKey(ServiceKey which, const QString& value);

    // ---- help
    // The address the user chose, or empty for the program's own.
    QString webPage(WebPage which) const;
    void setWebPage(WebPage which, const QString& address);

    static QString keyOf(ShareChoice which);
    static QString keyOf(ServiceKey which);
    static QString keyOf(WebPage which);

signals:
    // A setting was written; `key` is its key ("window/background").
    void changed(const QString& key);

private:
    QVariant value(const QString& key) const;
    void store(const QString& key, const QVariant& value);
    void removeKey(const QString& key);

    std::unique_ptr<QSettings> settings_;
};

} // namespace pimavo
