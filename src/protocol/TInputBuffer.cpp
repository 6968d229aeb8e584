#include "protocol/TInputBuffer.h"

#include <cstring>

TInputBuffer::~TInputBuffer() {
  delete[] storage_;
}

uint8_t TInputBuffer::GetAt(uint32_t index) const {
  return index < rawLength_ ? storage_[index] : 0;
}

void TInputBuffer::SetAt(uint32_t index, uint8_t value) {
  if (index < Length()) storage_[index] = value;
}

bool TInputBuffer::EqualsText(const char* text) const {
  const size_t n = std::strlen(text);
  return n == Length() && (n == 0 || std::memcmp(storage_, text, n) == 0);
}

bool TInputBuffer::HasPrefix(const char* text) {
  CStr();
  const size_t n = std::strlen(text);
  return n <= Length() && (n == 0 || std::memcmp(storage_, text, n) == 0);
}

bool TInputBuffer::EqualsData(const uint8_t* data, int length) const {
  if (length < 0 || static_cast<uint32_t>(length) != Length()) return false;
  return length == 0 || std::memcmp(storage_, data, static_cast<size_t>(length)) == 0;
}

bool TInputBuffer::EqualsBuffer(const TInputBuffer& other) const {
  return EqualsData(other.Data(), static_cast<int>(other.Length()));
}

void TInputBuffer::Reallocate(uint32_t newCapacity) {
  auto* fresh = new uint8_t[newCapacity];
  if (rawLength_ > 0) std::memcpy(fresh, storage_, rawLength_);
  delete[] storage_;
  storage_ = fresh;
  capacity_ = newCapacity;
}

void TInputBuffer::Add(uint8_t value) {
  if (terminated_) {
    storage_[rawLength_ - 1] = value;
    terminated_ = false;
    return;
  }
  if (rawLength_ >= capacity_) {
    // capacity * 1.1 + 1, integer part, in exact integer arithmetic.
    Reallocate(static_cast<uint32_t>((static_cast<uint64_t>(capacity_) * 11) / 10 + 1));
  }
  storage_[rawLength_++] = value;
}

void TInputBuffer::AddText(const char* text) {
  while (*text != 0) Add(static_cast<uint8_t>(*text++));
}

void TInputBuffer::AddData(const uint8_t* data, int length) {
  for (int i = 0; i < length; ++i) Add(data[i]);
}

const char* TInputBuffer::CStr() {
  if (!terminated_) {
    Add(0);
    terminated_ = true;
  }
  return reinterpret_cast<const char*>(storage_);
}

void TInputBuffer::DeleteFront(uint32_t count) {
  if (count == 0) return;
  if (count >= rawLength_) {
    rawLength_ = 0;
    terminated_ = false;
    return;
  }
  std::memmove(storage_, storage_ + count, rawLength_ - count);
  rawLength_ -= count;
}

void TInputBuffer::Clear() {
  rawLength_ = 0;
  terminated_ = false;
}

void TInputBuffer::Reserve(uint32_t count) {
  if (capacity_ < count + 1) Reallocate(count + 1);
}

void TInputBuffer::Assign(const TInputBuffer& other) {
  if (&other == this) return;
  if (other.rawLength_ > capacity_) {
    delete[] storage_;
    storage_ = other.capacity_ > 0 ? new uint8_t[other.capacity_] : nullptr;
    capacity_ = other.capacity_;
  }
  rawLength_ = other.rawLength_;
  terminated_ = other.terminated_;
  if (rawLength_ > 0) std::memcpy(storage_, other.storage_, rawLength_);
}
