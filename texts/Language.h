#pragma once

namespace qx {

enum class Language { English, Chinese };

// The language this executable was built with.
Language BuildLanguage();

}  // namespace qx
