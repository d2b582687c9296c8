// Start-up and reset of the encoder card's two axes.
#include "counter_card.h"

namespace quorvex {

void EncoderCard::Initialise() {
    if (!card_) return;
    card_->Init(0);
    card_->Init(1);
    card_->Reset(0);
    card_->Reset(1);
    card_->WriteParameter(0, 1, 0);
    card_->WriteParameter(0, 2, 0);
    card_->WriteParameter(1, 1, 0);
    card_->WriteParameter(1, 2, 0);
}

void EncoderCard::ResetCounterAxis(int axis) {
    if (card_) card_->Reset(axis);
}

}  // namespace quorvex
