#include "chips/OptionFieldError.h"

#include "images/NumberText.h"
#include "texts/Texts.h"

namespace qx {

std::optional<OptionFieldError> ConvertOptionFields(std::span<const std::string> texts, std::span<u32> values) {
  for (std::size_t i = 0; i < texts.size() && i < values.size(); ++i) {
    const auto v = TryStrToInt(texts[i]);
    if (!v) return OptionFieldError{i, Tx(TextId::NotValidInteger, texts[i])};
    values[i] = static_cast<u32>(*v);
  }
  return std::nullopt;
}

}  // namespace qx
