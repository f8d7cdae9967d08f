#include "support/test_database.h"

class SmokeTest : public EngineTest {};
TEST_P(SmokeTest, SchemaIsCreated) { EXPECT_TRUE(db().scalar("select count(*) from t_client").has_value()); }
INSTANTIATE_ENGINES(SmokeTest);
