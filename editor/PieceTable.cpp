#include "editor/PieceTable.h"

#include "platform/Cp932.h"

#include <algorithm>

namespace kestrovan::editor {
namespace {

bool isLead(unsigned char c) { return platform::isCp932LeadByte(c); }
bool isTrail(unsigned char c) { return platform::isCp932TrailByte(c); }

} // namespace

PieceTable::PieceTable(std::string text, bool indexNow) : source_(std::move(text)) {
  followSource();
  if (indexNow) indexMore(original().size());
}

PieceTable::PieceTable(ProgramBytes source) : source_(std::move(source)) { followSource(); }

void PieceTable::followSource() {
  if (pieces_.empty() && !original().empty()) pieces_.push_back({Source::Original, 0, 0});
  if (!pieces_.empty()) pieces_.front().length = original().size();
  renumber();
}

bool PieceTable::indexMore(std::size_t bytes) {
  bytes = std::max<std::size_t>(bytes, 1);
  if (!source_.done()) {
    source_.readMore(bytes);
    followSource();
  }
  const std::string& text = original();
  std::size_t stop = std::min(text.size(), indexed_ + bytes);
  if (!source_.done()) {
    // Whether carriage returns at the end of what came end a line is for
    // the bytes still to come to say.
    std::size_t known = text.size();
    while (known > 0 && text[known - 1] == '\r')
      --known;
    stop = std::min(stop, known);
  }
  const char* const data = text.data();
  std::size_t lineBegin = starts_.count() ? starts_.last() : 0;
  for (std::size_t p = indexed_; p < stop; ++p) {
    const char c = data[p];
    if ((c == '\n' || c == '\r') && endsLine(p)) {
      starts_.append(p + 1);
      longest_ = std::max(longest_, p + 1 - lineBegin);
      lineBegin = p + 1;
    }
  }
  indexed_ = std::max(indexed_, stop);
  longest_ = std::max(longest_, indexed_ - std::min(indexed_, lineBegin));
  return indexed();
}

std::string_view PieceTable::view(const Piece& piece) const {
  const std::string& buffer = piece.source == Source::Original ? original() : added_;
  return std::string_view(buffer).substr(piece.start, piece.length);
}

std::size_t PieceTable::lengthOf(const std::vector<Piece>& pieces) {
  std::size_t n = 0;
  for (const Piece& piece : pieces)
    n += piece.length;
  return n;
}

void PieceTable::renumber() {
  pieceStart_.resize(pieces_.size());
  std::size_t at = 0;
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    pieceStart_[i] = at;
    at += pieces_[i].length;
  }
  size_ = at;
}

std::size_t PieceTable::pieceAt(std::size_t offset) const {
  if (offset >= size_) return pieces_.size();
  const auto it = std::upper_bound(pieceStart_.begin(), pieceStart_.end(), offset);
  return static_cast<std::size_t>(it - pieceStart_.begin()) - 1;
}

unsigned char PieceTable::byteAt(std::size_t offset) const {
  const std::size_t i = pieceAt(offset);
  if (i >= pieces_.size()) return 0;
  return static_cast<unsigned char>(view(pieces_[i])[offset - pieceStart_[i]]);
}

std::string PieceTable::bytes(std::size_t from, std::size_t length) const {
  std::string out;
  if (from >= size_) return out;
  length = std::min(length, size_ - from);
  out.reserve(length);
  for (std::size_t i = pieceAt(from); i < pieces_.size() && out.size() < length; ++i) {
    std::string_view piece = view(pieces_[i]);
    if (pieceStart_[i] < from) piece.remove_prefix(from - pieceStart_[i]);
    out.append(piece.substr(0, length - out.size()));
  }
  return out;
}

std::vector<std::string_view> PieceTable::pieces() const {
  std::vector<std::string_view> out;
  out.reserve(pieces_.size());
  for (const Piece& piece : pieces_)
    out.push_back(view(piece));
  return out;
}

bool PieceTable::endsLine(std::size_t p) const {
  const unsigned char c = byteAt(p);
  if (c == '\n') return true;
  if (c != '\r') return false;
  // Carriage returns right before a line feed belong to its line end.
  std::size_t q = p + 1;
  while (q < size_ && byteAt(q) == '\r')
    ++q;
  return q >= size_ || byteAt(q) != '\n';
}

std::size_t PieceTable::lineCount() const {
  std::size_t n = 1 + starts_.count();
  if (indexed() && starts_.count() > 0 && starts_.last() == size_) --n;
  return n;
}

std::size_t PieceTable::lineStart(std::size_t line) const { return line == 0 ? 0 : starts_.at(line - 1); }

std::size_t PieceTable::lineEnd(std::size_t line) const {
  const std::size_t start = lineStart(line);
  std::size_t end = line < starts_.count() ? starts_.at(line) : (indexed() ? size_ : indexed_);
  // The bytes of a line hold no line end, so what ends the range is its own.
  while (end > start) {
    const unsigned char c = byteAt(end - 1);
    if (c != '\n' && c != '\r') break;
    --end;
  }
  return end;
}

std::size_t PieceTable::lineOf(std::size_t offset) const {
  return std::min(starts_.countUpTo(offset), lineCount() - 1);
}

bool PieceTable::isCharacterBoundary(std::size_t offset) const {
  if (offset == 0 || offset >= size_) return offset <= size_;
  // A byte that can open no two-byte character ends whatever character it
  // belongs to; the bytes that can open one after it pair off from there.
  std::size_t leads = 0;
  while (leads < offset && isLead(byteAt(offset - 1 - leads)))
    ++leads;
  return leads % 2 == 0 || !isTrail(byteAt(offset));
}

std::size_t PieceTable::characterStart(std::size_t offset) const {
  if (offset >= size_) return size_;
  return isCharacterBoundary(offset) ? offset : offset - 1;
}

std::size_t PieceTable::characterEnd(std::size_t offset) const {
  if (offset >= size_) return size_;
  const std::size_t start = characterStart(offset);
  return start + 1 < size_ && isLead(byteAt(start)) && isTrail(byteAt(start + 1)) ? start + 2 : start + 1;
}

std::size_t PieceTable::splitAt(std::size_t offset) {
  const std::size_t i = pieceAt(offset);
  if (i >= pieces_.size() || pieceStart_[i] == offset) return i;
  const std::size_t cut = offset - pieceStart_[i];
  Piece tail = pieces_[i];
  tail.start += cut;
  tail.length -= cut;
  pieces_[i].length = cut;
  pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i + 1), tail);
  renumber();
  return i + 1;
}

std::vector<PieceTable::Piece> PieceTable::swap(std::size_t offset, std::size_t length,
                                                const std::vector<Piece>& inserted) {
  // How many carriage returns stand right before the edit: whether they end
  // a line depends on what follows them.
  std::size_t crs = 0;
  while (crs < offset && byteAt(offset - 1 - crs) == '\r')
    ++crs;
  const std::size_t a = splitAt(offset);
  const std::size_t b = splitAt(offset + length);
  const auto first = pieces_.begin() + static_cast<std::ptrdiff_t>(a);
  std::vector<Piece> removed(first, pieces_.begin() + static_cast<std::ptrdiff_t>(b));
  pieces_.erase(first, pieces_.begin() + static_cast<std::ptrdiff_t>(b));
  pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(a), inserted.begin(), inserted.end());
  renumber();

  const std::size_t added = lengthOf(inserted);
  std::vector<std::size_t> fresh;
  for (std::size_t p = offset - crs; p < offset + added; ++p)
    if (endsLine(p)) fresh.push_back(p + 1);
  starts_.replace(offset - crs + 1, offset + length,
                  static_cast<std::ptrdiff_t>(added) - static_cast<std::ptrdiff_t>(length), fresh);
  return removed;
}

bool PieceTable::tryJoin(std::size_t offset, std::string_view bytes) {
  if (!joinable_ || undo_.empty() || !redo_.empty() || bytes.empty()) return false;
  if (savedDepth_ == static_cast<std::ptrdiff_t>(undo_.size())) return false;
  Step& last = undo_.back();
  if (!last.removed.empty() || last.inserted.empty()) return false;
  if (last.offset + lengthOf(last.inserted) != offset || offset == 0) return false;
  const Piece& tail = last.inserted.back();
  if (tail.source != Source::Added || tail.start + tail.length != added_.size()) return false;
  const std::size_t i = pieceAt(offset - 1);
  if (i >= pieces_.size() || pieceStart_[i] + pieces_[i].length != offset) return false;
  if (pieces_[i].source != Source::Added || pieces_[i].start + pieces_[i].length != added_.size())
    return false;

  Piece more{Source::Added, added_.size(), bytes.size()};
  added_.append(bytes);
  swap(offset, 0, {more});
  if (!isCharacterBoundary(offset) || !isCharacterBoundary(offset + bytes.size())) {
    swap(offset, bytes.size(), {});
    added_.resize(added_.size() - bytes.size());
    return true; // refused; nothing changed
  }
  // One piece and one step for the whole run of typing.
  const std::size_t j = pieceAt(offset);
  pieces_[j - 1].length += bytes.size();
  pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(j));
  renumber();
  undo_.back().inserted.back().length += bytes.size();
  return true;
}

bool PieceTable::replace(std::size_t offset, std::size_t length, std::string_view bytes) {
  if (!indexed() || offset > size_ || length > size_ - offset) return false;
  if (length == 0 && bytes.empty()) return true;
  if (!isCharacterBoundary(offset) || !isCharacterBoundary(offset + length)) return false;
  if (length == 0) {
    const std::size_t before = size_;
    if (tryJoin(offset, bytes)) return size_ != before;
  }
  std::vector<Piece> inserted;
  if (!bytes.empty()) inserted.push_back({Source::Added, added_.size(), bytes.size()});
  added_.append(bytes);
  std::vector<Piece> removed = swap(offset, length, inserted);
  if (!isCharacterBoundary(offset) || !isCharacterBoundary(offset + bytes.size())) {
    swap(offset, bytes.size(), removed);
    added_.resize(added_.size() - bytes.size());
    return false;
  }
  redo_.clear();
  if (savedDepth_ > static_cast<std::ptrdiff_t>(undo_.size())) savedDepth_ = -1;
  undo_.push_back({offset, std::move(removed), std::move(inserted)});
  joinable_ = length == 0;
  return true;
}

bool PieceTable::undo(Change* change) {
  joinable_ = false;
  if (undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  swap(step.offset, lengthOf(step.inserted), step.removed);
  if (change) *change = {step.offset, lengthOf(step.removed)};
  redo_.push_back(std::move(step));
  joinable_ = false;
  return true;
}

bool PieceTable::redo(Change* change) {
  joinable_ = false;
  if (redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  swap(step.offset, lengthOf(step.removed), step.inserted);
  if (change) *change = {step.offset, lengthOf(step.inserted)};
  undo_.push_back(std::move(step));
  joinable_ = false;
  return true;
}

void PieceTable::markSaved() {
  savedDepth_ = static_cast<std::ptrdiff_t>(undo_.size());
  joinable_ = false;
}

} // namespace kestrovan::editor
