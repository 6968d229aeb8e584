#pragma once
// Growable byte buffer for replies, received bytes and byte-string values. Holds raw bytes (zero
// bytes allowed); CStr appends a zero terminator that is not counted as content and is
// overwritten by the next appended byte. Every append goes through Add, which grows the storage
// by a factor of 1.1 (plus one byte).

#include <cstdint>

class TInputBuffer {
 public:
  TInputBuffer() = default;
  TInputBuffer(const TInputBuffer& other) { Assign(other); }
  TInputBuffer& operator=(const TInputBuffer& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  virtual ~TInputBuffer();

  virtual uint8_t GetAt(uint32_t index) const;
  virtual void SetAt(uint32_t index, uint8_t value);
  virtual bool EqualsText(const char* text) const;
  virtual bool HasPrefix(const char* text);
  virtual bool EqualsData(const uint8_t* data, int length) const;
  virtual bool EqualsBuffer(const TInputBuffer& other) const;
  virtual void Add(uint8_t value);
  virtual void AddText(const char* text);
  virtual void AddData(const uint8_t* data, int length);
  virtual const char* CStr();
  virtual const uint8_t* Data() const { return storage_; }
  virtual bool IsEmpty() const { return rawLength_ == 0; }
  virtual uint32_t Length() const { return terminated_ ? rawLength_ - 1 : rawLength_; }
  virtual uint32_t RawLength() const { return rawLength_; }
  virtual void DeleteFront(uint32_t count);
  virtual void Clear();
  virtual void Reserve(uint32_t count);

  void Assign(const TInputBuffer& other);

  uint32_t Capacity() const { return capacity_; }
  bool Terminated() const { return terminated_; }

 private:
  void Reallocate(uint32_t newCapacity);

  uint8_t* storage_ = nullptr;
  uint32_t capacity_ = 0;
  uint32_t rawLength_ = 0;
  bool terminated_ = false;
};
