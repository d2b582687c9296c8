// The encoder counter card for incremental measuring systems. The program initialises and
// parameterises its two axes at start-up and resets them from the main window ("Tara
// Counter"); it reads no count from it. A machine without the card has no counter card.
#pragma once

namespace quorvex {

class CounterCard {
public:
    virtual ~CounterCard() = default;
    virtual void Init(int axis) = 0;
    virtual void Reset(int axis) = 0;
    virtual void WriteParameter(int axis, int parameter, long value) = 0;
};

class EncoderCard {
public:
    // card may be null: no card. It must outlive this object.
    explicit EncoderCard(CounterCard* card) : card_(card) {}

    bool Present() const { return card_ != nullptr; }
    // Start-up: both axes initialised, reset, and their parameters 1 and 2 written as 0.
    void Initialise();
    void ResetCounterAxis(int axis);

private:
    CounterCard* card_;
};

}  // namespace quorvex
