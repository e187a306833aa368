// The image and project layers' failure texts (imageio/FailureText.h) in the user's language.
#pragma once

#include <QString>
#include <string>

namespace pimavo {

// The text translated whole, or, when it was made from a template, the template translated with what
// was put in its places translated in turn. What no template made (a file's name, a system's or a
// library's own message) is kept as it is, so a text is never lost, only left in English.
QString translatedFailure(const QString& english);
QString translatedFailure(const std::string& english);

// A reason, a clause such as "it is a folder", as a sentence of its own: translated, with a capital
// and a full stop.
QString failureSentence(const QString& reason);

} // namespace pimavo
