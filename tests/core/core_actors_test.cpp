// The actor registry and collision queries of the central object: when added and marked
// actors take part, ids, names, depth order, the box and circle queries, and motion.
#include <cmath>
#include <string>

#include "core_fixture.h"

using KvCore::KV_ACTOR;

// ---- pending, live and deleted ----

TEST_F(CoreTest, AnActorAddedInAFrameTakesPartFromTheNext) {
  ProbeActor* first = Add("A");
  core->CommitActors();
  static ProbeActor* added;
  static KV_ACTOR* foundWhileAdded;
  added = nullptr;
  first->onUpdate = [](ProbeActor* self) {
    if (added != nullptr) return;
    added = new ProbeActor("B");
    current->SetActorName(added, "B");
    current->AddActor("G", added);
    foundWhileAdded = current->FindCollision(7, self, "B", KV_VECTOR_D());
  };
  core->Frame();
  EXPECT_EQ(foundWhileAdded, nullptr);
  EXPECT_EQ(Joined(), "uA dA ");
  ProbeActor::Log().clear();
  core->Frame();
  EXPECT_EQ(Joined(), "uA uB dA dB ");
  EXPECT_EQ(core->FindCollision(7, first, "B", KV_VECTOR_D()), added);
}

TEST_F(CoreTest, AMarkedActorIsDrawnInItsFrameAndDeletedOnceAtItsEnd) {
  ProbeActor* a = Add("A");
  Add("B");
  core->CommitActors();
  a->onUpdate = [](ProbeActor* self) {
    current->RemoveActor(self);
    current->RemoveActor(self);
  };
  core->Frame();
  EXPECT_EQ(Joined(), "uA uB dA dB ~A ");
  EXPECT_EQ(ProbeActor::Deleted(), 1);
  EXPECT_EQ(core->liveActors.values.Count(), 1u);
  EXPECT_EQ(core->deleteList.Count(), 0u);
}

TEST_F(CoreTest, AnActorAddedAndMarkedInOneFrameIsDeletedAtItsEnd) {
  ProbeActor* a = Add("A");
  core->RemoveActor(a);
  core->RemoveActor(nullptr);
  core->Frame();
  EXPECT_EQ(Joined(), "~A ");
  EXPECT_EQ(core->liveActors.values.Count(), 0u);
  EXPECT_EQ(core->pendingActors.values.Count(), 0u);
}

TEST_F(CoreTest, AMarkedPointerThatIsNotLiveIsSkipped) {
  ProbeActor outsider("X");
  core->RemoveActor(&outsider);
  core->DeleteActors();
  EXPECT_EQ(ProbeActor::Deleted(), 0);
  EXPECT_EQ(core->deleteList.Count(), 0u);
}

TEST_F(CoreTest, AddActorGivesIdsFromTheLiveCounterAndRefusesNull) {
  EXPECT_EQ(core->AddActor("G", nullptr), nullptr);
  EXPECT_EQ(core->pendingActors.values.Count(), 0u);
  core->liveActors.nextId = 0xFFFFFFFEu;
  ProbeActor* a = Add("A");
  ProbeActor* b = Add("B");
  EXPECT_EQ(a->GetId(), 0xFFFFFFFEu);
  EXPECT_EQ(b->GetId(), 0u);
  // A group name longer than a key holds is cut; the actor is still taken.
  std::string longGroup(300, 'g');
  ProbeActor* c = new ProbeActor("C");
  EXPECT_EQ(core->AddActor(longGroup.c_str(), c), c);
  EXPECT_EQ(core->pendingActors.values.Count(), 3u);
  EXPECT_EQ(std::string(core->pendingActors.keys.Last()->name), std::string(123, 'g'));
  EXPECT_EQ(c->GetId(), 1u);
}

TEST_F(CoreTest, NextActorIdWrapsAfter0xFFFFFFFE) {
  EXPECT_EQ(core->NextActorId(), 0u);
  EXPECT_EQ(core->NextActorId(), 1u);
  core->idCounter = 0xFFFFFFFEu;
  EXPECT_EQ(core->NextActorId(), 0xFFFFFFFEu);
  EXPECT_EQ(core->NextActorId(), 0u);
}

TEST_F(CoreTest, ActorNamesAreExactAndAtMost122Characters) {
  ProbeActor actor("A");
  core->SetActorName(&actor, "Mur");
  EXPECT_TRUE(core->ActorHasName(&actor, "Mur"));
  EXPECT_FALSE(core->ActorHasName(&actor, "MUR"));
  EXPECT_FALSE(core->ActorHasName(&actor, nullptr));
  EXPECT_FALSE(core->ActorHasName(nullptr, "Mur"));
  std::string longName(200, 'n');
  core->SetActorName(&actor, longName.c_str());
  EXPECT_EQ(std::string(actor.name.name), std::string(122, 'n'));
  core->SetActorName(&actor, nullptr);
  EXPECT_EQ(strlen(actor.name.name), 122u);
}

TEST_F(CoreTest, SortActorsPutsTheGreatestDepthFirstAndKeepsTies) {
  const float depths[] = {1, 3, 2, 3};
  const char* names[] = {"one", "three", "two", "three-b"};
  for (int i = 0; i < 4; ++i) Add(names[i])->depth = depths[i];
  core->CommitActors();
  core->SortActors();
  std::string order;
  for (auto it = core->liveActors.Begin(); !it.IsEnd(); it.Next())
    order += std::string((*it.Get())->name.name) + " ";
  EXPECT_EQ(order, "three three-b two one ");
  // Keys travel with their actors.
  EXPECT_EQ(core->liveActors.keys.Begin()->id, core->liveActors.Begin().GetCopy()->GetId());
  KV_ACTOR* a = core->liveActors.Begin().GetCopy();
  KV_ACTOR* b = core->liveActors.values.Last().GetCopy();
  EXPECT_EQ(KV_CORE::CompareActorDepth(&a, &b), 1);
  EXPECT_EQ(KV_CORE::CompareActorDepth(&b, &a), -1);
  EXPECT_EQ(KV_CORE::CompareActorDepth(&a, &a), 0);
}

// ---- collision queries ----

TEST_F(CoreTest, BoxesThatShareAnEdgeCollideAndAnyGapSeparates) {
  ProbeActor* asker = Add("asker", 0, 0);
  ProbeActor* edge = Add("edge", 10, 0);
  ProbeActor* corner = Add("corner", 10, 10);
  ProbeActor* gap = Add("gap", 10.0001, 0);
  core->CommitActors();
  EXPECT_EQ(core->FindCollision(7, asker, "edge", KV_VECTOR_D()), edge);
  EXPECT_EQ(core->FindCollision(7, asker, "corner", KV_VECTOR_D()), corner);
  EXPECT_EQ(core->FindCollision(7, asker, "gap", KV_VECTOR_D()), nullptr);
  EXPECT_EQ(core->FindCollision(7, asker, "gap", KV_VECTOR_D(0.0001, 0)), gap);
}

TEST_F(CoreTest, AnOffsetShiftsTheAskersBox) {
  ProbeActor* asker = Add("asker", 0, 0);
  ProbeActor* right = Add("right", 11, 0);
  core->CommitActors();
  EXPECT_EQ(core->FindCollision(7, asker, "right", KV_VECTOR_D(0, 0)), nullptr);
  EXPECT_EQ(core->FindCollision(7, asker, "right", KV_VECTOR_D(1, 0)), right);
  EXPECT_EQ(core->FindCollision(7, asker, "right", KV_VECTOR_D(1, 11)), nullptr);
}

TEST_F(CoreTest, BoxesFollowOriginAndScale) {
  ProbeActor* asker = Add("asker", 100, 100);
  asker->sprite.boxX = 5;                  // the box runs from 95 to 105
  asker->scale = KV_VECTOR_D(2, 1, 1, 1);  // scaled: 90 to 110
  ProbeActor* other = Add("other", 110, 100);
  ProbeActor* far = Add("far", 111, 100);
  core->CommitActors();
  EXPECT_EQ(core->FindCollision(7, asker, "other", KV_VECTOR_D()), other);
  EXPECT_EQ(core->FindCollision(7, asker, "far", KV_VECTOR_D()), nullptr);
  (void)far;
}

TEST_F(CoreTest, AQueryWithoutANameFindsTheAskerWhenItComesFirst) {
  ProbeActor* asker = Add("asker", 0, 0);
  Add("other", 5, 5);
  core->CommitActors();
  EXPECT_EQ(core->FindCollision(7, asker, nullptr, KV_VECTOR_D()), asker);
}

TEST_F(CoreTest, QueriesFindOnlyLiveActorsOfTheName) {
  ProbeActor* asker = Add("asker", 0, 0);
  ProbeActor* first = Add("wall", 0, 0);
  Add("wall", 0, 0);
  core->CommitActors();
  Add("wall", 0, 0);  // pending
  EXPECT_EQ(core->FindCollision(7, asker, "wall", KV_VECTOR_D()), first);
  EXPECT_EQ(core->FindCollision(7, asker, "WALL", KV_VECTOR_D()), nullptr);
  EXPECT_EQ(core->FindCollision(9, asker, "wall", KV_VECTOR_D()), nullptr);
  EXPECT_EQ(core->FindCollision(7, nullptr, "wall", KV_VECTOR_D()), nullptr);
}

TEST_F(CoreTest, ActorsWithoutASpriteTakeNoPartInBoxQueries) {
  ProbeActor* asker = Add("asker", 0, 0);
  KV_ACTOR* plain = new KV_ACTOR();
  core->SetActorName(plain, "plain");
  core->AddActor("G", plain);
  core->CommitActors();
  EXPECT_EQ(core->FindCollision(7, asker, "plain", KV_VECTOR_D()), nullptr);
  EXPECT_EQ(core->FindCollision(7, plain, nullptr, KV_VECTOR_D()), nullptr);
  // Circles need only positions and radii.
  plain->rotation.w = 1;
  EXPECT_EQ(core->FindCollision(8, asker, "plain", KV_VECTOR_D()), plain);
  // An asker without a sprite still finds by circles.
  asker->rotation.w = 1;
  EXPECT_EQ(core->FindCollision(8, plain, "asker", KV_VECTOR_D()), asker);
  EXPECT_EQ(core->FindCollision(8, plain, nullptr, KV_VECTOR_D()), asker);
}

TEST_F(CoreTest, CirclesCollideOnlyWhenTheRadiiExceedTheDistance) {
  ProbeActor* asker = Add("asker", 0, 0);
  asker->rotation.w = 2;
  ProbeActor* touching = Add("touching", 3, 4);
  touching->rotation.w = 3;  // 2 + 3 = 5 = distance
  ProbeActor* near = Add("near", 3, 4);
  near->rotation.w = 3.001;
  ProbeActor* zero = Add("zero", 0, 0);
  core->CommitActors();
  EXPECT_EQ(core->FindCollision(8, asker, "touching", KV_VECTOR_D(100, 100)), nullptr);
  EXPECT_EQ(core->FindCollision(8, asker, "near", KV_VECTOR_D(100, 100)), near);
  asker->rotation.w = 0;
  EXPECT_EQ(core->FindCollision(8, asker, "zero", KV_VECTOR_D()), nullptr);
  (void)zero;
  EXPECT_FALSE(asker->NoCollision(near));
}

// ---- motion ----

TEST_F(CoreTest, MoveActorToStepsAndStopsExactlyOnTheTarget) {
  ProbeActor actor("A", 0, 0);
  KV_VECTOR_D target(0.3, 0.4, 0, 1);
  core->MoveActorTo(&actor, target, 0.25);
  EXPECT_NEAR(actor.position.x, 0.15, 1e-12);
  EXPECT_NEAR(actor.position.y, 0.2, 1e-12);
  core->MoveActorTo(&actor, target, 10);
  EXPECT_EQ(actor.position.x, 0.3);
  EXPECT_EQ(actor.position.y, 0.4);
  core->MoveActorTo(&actor, KV_VECTOR_D(9, 9), 0);
  EXPECT_EQ(actor.position.x, 0.3);
  core->MoveActorTo(nullptr, target, 1);
  EXPECT_EQ(core->MoveActorToward(KV_VECTOR_D(1, 1), KV_VECTOR_D(5, 1), -1), KV_VECTOR_D(1, 1));
  EXPECT_EQ(core->MoveActorToward(KV_VECTOR_D(1, 1), KV_VECTOR_D(5, 1), 3), KV_VECTOR_D(4, 1));
}

TEST_F(CoreTest, ArriveSlowsDownInsideTheRadius) {
  // Far away: a full step.
  EXPECT_EQ(core->ArriveToward(KV_VECTOR_D(0, 0), KV_VECTOR_D(100, 0), 4, 10), KV_VECTOR_D(4, 0));
  // 5 from the target with radius 10: half a step.
  EXPECT_EQ(core->ArriveToward(KV_VECTOR_D(95, 0), KV_VECTOR_D(100, 0), 4, 10), KV_VECTOR_D(97, 0));
  // On the target, or without speed: unchanged.
  EXPECT_EQ(core->ArriveToward(KV_VECTOR_D(100, 0), KV_VECTOR_D(100, 0), 4, 10),
            KV_VECTOR_D(100, 0));
  EXPECT_EQ(core->ArriveToward(KV_VECTOR_D(0, 0), KV_VECTOR_D(100, 0), 0, 10), KV_VECTOR_D(0, 0));
  // Without a radius there is no slowing down, and never a position that is not a number.
  KV_VECTOR_D moved = core->ArriveToward(KV_VECTOR_D(99, 0), KV_VECTOR_D(100, 0), 4, 0);
  EXPECT_EQ(moved, KV_VECTOR_D(100, 0));
  ProbeActor actor("A", 0, 0);
  core->ArriveActorAt(&actor, KV_VECTOR_D(0, 50), 10, 100);
  EXPECT_NEAR(actor.position.y, 5, 1e-12);
  EXPECT_FALSE(std::isnan(actor.position.x));
}
