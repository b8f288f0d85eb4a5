// Text at the edge between the toolkit and Qt: the toolkit's Windows-1252
// and Qt's Unicode. Nothing else in the backend converts text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace toolkit {

QString ToQt(std::string_view cp1252Text);
std::string FromQt(const QString& text);  // '?' for what the code page cannot hold

}  // namespace toolkit
