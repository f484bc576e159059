// The element lists and member lists are singly linked through `next`, newest first. Each(head)
// walks one in that order: for (LineElement* line : Each(drawing.lines)). The next link is read
// after the body has run, as a hand-written walk reads it.
#pragma once

namespace lumora {

template <class Node> class ListRange {
public:
  class Iterator {
  public:
    explicit Iterator(Node* at) : at_(at) {}
    Node* operator*() const { return at_; }
    Iterator& operator++() {
      at_ = at_->next;
      return *this;
    }
    bool operator==(const Iterator&) const = default;

  private:
    Node* at_;
  };

  explicit ListRange(Node* head) : head_(head) {}
  Iterator begin() const { return Iterator(head_); }
  Iterator end() const { return Iterator(nullptr); }

private:
  Node* head_;
};

template <class Node> ListRange<Node> Each(Node* head) {
  return ListRange<Node>(head);
}

} // namespace lumora
